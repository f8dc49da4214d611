#pragma once
// Runs an action from the event loop once a file exists: the emitter creates
// the file when it has reached a given step, so tests act on what the child
// has done rather than on how much time has passed.

#include <QFileInfo>
#include <QObject>
#include <QTimer>

#include <functional>

namespace fw_test {

class WhenFileAppears {
public:
    WhenFileAppears(const QString &path, std::function<void()> action) : m_path(path), m_action(std::move(action))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (!QFileInfo::exists(m_path))
                return;
            m_timer.stop();
            m_fired = true;
            m_action();
        });
        m_timer.start(2);
    }
    bool fired() const { return m_fired; }

private:
    QString m_path;
    std::function<void()> m_action;
    QTimer m_timer;
    bool m_fired = false;
};

} // namespace fw_test
