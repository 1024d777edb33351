#pragma once

#include <QApplication>

// Whatever a handler throws and nothing catches is shown in the general
// error display; the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
