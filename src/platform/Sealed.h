#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

// Files sealed with the user's password: any bytes inside an AES-256-GCM
// envelope whose key is derived from the password with PBKDF2-HMAC-SHA256
// (OpenSSL's libcrypto does the work). The layout, all of it read before
// anything is decrypted:
//
//   offset  size  what
//        0     8  "ZVSEALD1"
//        8     1  key derivation: 1 = PBKDF2-HMAC-SHA256
//        9     4  its iterations, big-endian
//       13    16  salt
//       29    12  nonce
//       41     n  the bytes, encrypted
//     41+n    16  the GCM tag, over the first 41 bytes too
//
// A file that does not begin with the mark is not sealed and is read as it
// always was.
namespace Sealed {

constexpr int HeaderSize = 41;
constexpr int TagSize = 16;
constexpr quint32 Iterations = 600000;
// A file asking for more is taken as damaged: it would only stall the reader.
constexpr quint32 MostIterations = 10000000;

bool IsSealed(const QByteArray& bytes);

// Throws std::runtime_error only when the library fails.
QByteArray Seal(const QByteArray& plain, const QString& password, quint32 iterations = Iterations);

// The bytes, or nothing when the password is wrong or the file damaged (the
// two cannot be told apart, by design).
std::optional<QByteArray> Open(const QByteArray& sealed, const QString& password,
                               quint32 mostIterations = MostIterations);

// While the user's tasks have a password of their own, the program seals
// its interchange files (backups, exports, safety copies, the mail's file)
// and its conflict files with it. Empty: none, files are written as ever.
void SetCurrentPassword(const QString& password);
QString CurrentPassword();
// Seals bytes with the current password, if there is one.
QByteArray SealIfProtected(const QByteArray& bytes);

// A sealed file that the current password does not open: the user is
// asked (fileName names it); nothing: cancelled.
using Asker = std::function<std::optional<QString>(const QString& fileName, bool again)>;
void SetAsker(Asker asker);

class WrongFilePassword : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// What a sealed file holds: the current password first, then the asked
// one (three tries); throws WrongFilePassword with what to tell the user.
QByteArray Unseal(const QByteArray& sealed, const QString& fileName);

} // namespace Sealed
