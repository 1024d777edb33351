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
// A page of the site with the query that tells the site which program
// asks and how many tasks it keeps.
inline QString PageAddress(const QString& path, int days, int privateTasks, int publicTasks) {
    return Address() + path + QStringLiteral("?id=tl-p-") + QString::number(days) +
           QStringLiteral("&t=") + QString::number(privateTasks) + u'-' +
           QString::number(publicTasks);
}
} // namespace WebSite
