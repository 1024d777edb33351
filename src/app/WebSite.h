#pragma once

#include <QString>

// The maker's web site and addresses, in one place.
namespace WebSite {
inline QString Address() {
    return QStringLiteral("https://www.zarvik.example");
}
// The product page the task lists point at.
inline QString ProductPage() {
    return Address() + QStringLiteral("/tasquel");
}
inline QString SupportMail() {
    return QStringLiteral("support@zarvik.example");
}
inline QString SalesMail() {
    return QStringLiteral("sales@zarvik.example");
}
} // namespace WebSite
