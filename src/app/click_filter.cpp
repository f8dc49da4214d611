#include "click_filter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
class ClickFilter : public QObject {
public:
    ClickFilter(QWidget *widget, std::function<void()> handler)
        : QObject(widget), m_widget(widget), m_handler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_widget)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_pressed = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
            return m_pressed;
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton || !m_pressed)
                return false;
            m_pressed = false;
            if (m_widget->rect().contains(mouse->position().toPoint()))
                m_handler();
            return true;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            m_handler();
            return true;
        }
        default:
            return false;
        }
    }

private:
    QWidget *m_widget;
    std::function<void()> m_handler;
    bool m_pressed = false;
};
} // namespace

void onClick(QWidget *widget, std::function<void()> handler)
{
    new ClickFilter(widget, std::move(handler));
}
