#pragma once

#include <QString>
#include <stdexcept>

class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The configuration file, read and written one key at a time: every call
// reads the file afresh, so edits by the user or another writer are seen at
// once. Names compare without case; values are cut at 2047 characters.
class IniFile {
public:
    static constexpr int MaxValue = 2047;

    explicit IniFile(QString path) : m_path(std::move(path)) {}
    QString path() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& def) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;

    // A failed write throws IniWriteError("Unable to write to <file>").
    void writeString(const QString& section, const QString& key, const QString& value) const;
    void writeInteger(const QString& section, const QString& key, int value) const;
    void writeBool(const QString& section, const QString& key, bool value) const;
    // Several keys of one section in one replacement of the file; the file
    // ends up as after writing them one by one.
    void writeStrings(const QString& section, const QList<QPair<QString, QString>>& values) const;

    // "0x" hex when longer than two characters, else decimal; def otherwise.
    static int parseInteger(const QString& text, int def);

private:
    QString m_path;
};
