#pragma once

#include <QEvent>

// The program's private messages: posted, never sent, so their work runs on
// a later turn of the event loop in the order posted.
enum TaskMessage {
    WM_TASKS_RELOAD = 2024,
    WM_TASKS_ATTACH = 2025,
    WM_SHOW_UPDATE_PROMPT = 2027,
    WM_TASKS_ADD = 2034,
    WM_TASKS_EDIT = 2035,
    WM_TASKS_DELETE_NODE = 2036,
};

class TaskEvent : public QEvent {
public:
    explicit TaskEvent(TaskMessage msg, void* wParam = nullptr)
        : QEvent(static_cast<QEvent::Type>(msg)), wParam(wParam) {}
    void* wParam;
};

// Posts msg to receiver.
void PostTaskMessage(QObject* receiver, TaskMessage msg, void* wParam = nullptr);
