#include "Messages.h"

#include <QCoreApplication>

void PostTaskMessage(QObject* receiver, TaskMessage msg, void* wParam) {
    QCoreApplication::postEvent(receiver, new TaskEvent(msg, wParam));
}
