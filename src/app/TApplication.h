#pragma once

#include <QApplication>

// Whatever a handler throws and nothing catches is shown in the general
// error display; the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    // The application-wide settings, also for a test's own application.
    static void Configure();
    bool notify(QObject* receiver, QEvent* event) override;
};
