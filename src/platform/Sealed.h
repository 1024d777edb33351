#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

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

} // namespace Sealed
