#pragma once
// The busy pointer over a window while a tool runs. The window stays live:
// the pointer only tells that the program is waiting. Controls with a text
// or arrow pointer of their own show it too; a pointer of a special kind
// (the link's hand) stays. Everything is restored on leaving, and nothing is
// touched if the window has gone meanwhile.

#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <vector>

class BusyCursor {
public:
    explicit BusyCursor(QWidget &window);
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    struct Kept {
        QPointer<QWidget> widget;
        QCursor cursor; // the one it had
    };
    QPointer<QWidget> m_window;
    bool m_windowHadCursor = false;
    QCursor m_windowCursor;
    std::vector<Kept> m_kept;
};
