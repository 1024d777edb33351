#pragma once

#include <QString>
#include <QStringList>

// The ten version values of the program, compiled in.
class TZvVersionInfo {
public:
    enum Index {
        CompanyName,
        FileDescription,
        FileVersion,
        InternalName,
        LegalCopyright,
        LegalTrademarks,
        OriginalFilename,
        ProductName,
        ProductVersion,
        Comments
    };
    TZvVersionInfo();
    QString GetVersionValue(int index) const {
        return index >= 0 && index < m_values.size() ? m_values.at(index) : QString();
    }

private:
    QStringList m_values;
};
