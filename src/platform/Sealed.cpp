#include "Sealed.h"

#include <QCoreApplication>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>
#include <memory>
#include <stdexcept>

namespace Sealed {

namespace {

constexpr char kMark[] = "ZVSEALD1";
constexpr int kMarkSize = 8;
constexpr int kSaltSize = 16;
constexpr int kNonceSize = 12;
constexpr int kChunk = 1 << 20; // the library counts in int
constexpr unsigned char kPbkdf2 = 1;

using Key = std::array<unsigned char, 32>;

// Wiped when it goes, as is the password's copy.
struct Secret {
    Key key{};
    ~Secret() { OPENSSL_cleanse(key.data(), key.size()); }
};

bool derive(const QString& password, const unsigned char* salt, quint32 iterations, Key& key) {
    QByteArray pw = password.toUtf8();
    const int ok = PKCS5_PBKDF2_HMAC(pw.constData(), int(pw.size()), salt, kSaltSize,
                                     int(iterations), EVP_sha256(), int(key.size()), key.data());
    OPENSSL_cleanse(pw.data(), size_t(pw.size()));
    return ok == 1;
}

using Context = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// Runs the bytes through ctx a chunk at a time into out.
bool update(EVP_CIPHER_CTX* ctx, bool encrypt, const char* in, qsizetype size, char* out) {
    for (qsizetype at = 0; at < size; at += kChunk) {
        const int n = int(std::min<qsizetype>(kChunk, size - at));
        int written = 0;
        auto* o = reinterpret_cast<unsigned char*>(out + at);
        const auto* i = reinterpret_cast<const unsigned char*>(in + at);
        if ((encrypt ? EVP_EncryptUpdate(ctx, o, &written, i, n)
                     : EVP_DecryptUpdate(ctx, o, &written, i, n)) != 1 ||
            written != n)
            return false;
    }
    return true;
}

} // namespace

bool IsSealed(const QByteArray& bytes) {
    return bytes.startsWith(QByteArray::fromRawData(kMark, kMarkSize));
}

QByteArray Seal(const QByteArray& plain, const QString& password, quint32 iterations) {
    const auto fail = [] { return std::runtime_error("the encryption library failed"); };
    QByteArray out(HeaderSize + plain.size() + TagSize, Qt::Uninitialized);
    auto* head = reinterpret_cast<unsigned char*>(out.data());
    std::copy(kMark, kMark + kMarkSize, head);
    head[8] = kPbkdf2;
    for (int i = 0; i < 4; ++i)
        head[9 + i] = static_cast<unsigned char>(iterations >> (24 - 8 * i));
    unsigned char* salt = head + 13;
    unsigned char* nonce = salt + kSaltSize;
    if (RAND_bytes(salt, kSaltSize) != 1 || RAND_bytes(nonce, kNonceSize) != 1)
        throw fail();
    Secret s;
    if (!derive(password, salt, iterations, s.key))
        throw fail();
    Context ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int n = 0;
    if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) != 1 ||
        EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, s.key.data(), nonce) != 1 ||
        EVP_EncryptUpdate(ctx.get(), nullptr, &n, head, HeaderSize) != 1 ||
        !update(ctx.get(), true, plain.constData(), plain.size(), out.data() + HeaderSize) ||
        EVP_EncryptFinal_ex(ctx.get(), head + HeaderSize + plain.size(), &n) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, TagSize,
                            head + HeaderSize + plain.size()) != 1)
        throw fail();
    return out;
}

std::optional<QByteArray> Open(const QByteArray& sealed, const QString& password,
                               quint32 mostIterations) {
    if (!IsSealed(sealed) || sealed.size() < HeaderSize + TagSize)
        return std::nullopt;
    const auto* head = reinterpret_cast<const unsigned char*>(sealed.constData());
    quint32 iterations = 0;
    for (int i = 0; i < 4; ++i)
        iterations = (iterations << 8) | head[9 + i];
    if (head[8] != kPbkdf2 || iterations < 1000 || iterations > mostIterations)
        return std::nullopt;
    const unsigned char* salt = head + 13;
    const unsigned char* nonce = salt + kSaltSize;
    const qsizetype size = sealed.size() - HeaderSize - TagSize;
    Secret s;
    if (!derive(password, salt, iterations, s.key))
        return std::nullopt;
    QByteArray plain(size, Qt::Uninitialized);
    std::array<unsigned char, TagSize> tag{};
    std::copy(head + HeaderSize + size, head + HeaderSize + size + TagSize, tag.begin());
    Context ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int n = 0;
    unsigned char end[16];
    const bool ok =
        ctx && EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1 &&
        EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, s.key.data(), nonce) == 1 &&
        EVP_DecryptUpdate(ctx.get(), nullptr, &n, head, HeaderSize) == 1 &&
        update(ctx.get(), false, sealed.constData() + HeaderSize, size, plain.data()) &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, TagSize, tag.data()) == 1 &&
        EVP_DecryptFinal_ex(ctx.get(), end, &n) == 1;
    if (!ok) {
        OPENSSL_cleanse(plain.data(), size_t(plain.size()));
        return std::nullopt;
    }
    return plain;
}

namespace {
QString& current() {
    static QString password;
    return password;
}
Asker& asker() {
    static Asker a;
    return a;
}
} // namespace

void SetCurrentPassword(const QString& password) {
    current() = password;
}
QString CurrentPassword() {
    return current();
}
QByteArray SealIfProtected(const QByteArray& bytes) {
    return current().isEmpty() ? bytes : Seal(bytes, current());
}
void SetAsker(Asker a) {
    asker() = std::move(a);
}

QByteArray Unseal(const QByteArray& sealed, const QString& fileName) {
    if (!current().isEmpty())
        if (auto plain = Open(sealed, current()))
            return *plain;
    for (int tries = 0; tries < 3 && asker(); ++tries) {
        const std::optional<QString> typed = asker()(fileName, tries > 0);
        if (!typed)
            break;
        if (auto plain = Open(sealed, *typed))
            return *plain;
    }
    throw WrongFilePassword(
        QCoreApplication::translate("Sealed",
                                    "\"%1\" is protected with a password, and it was not given.")
            .arg(fileName)
            .toStdString());
}

} // namespace Sealed
