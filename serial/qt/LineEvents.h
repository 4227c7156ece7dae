#pragma once
// News of the real lines for whoever shows it: a line whose device went away or whose other end
// hung up, told once, when the line notices it (also while no command is under way).
#include <QObject>
#include <QString>

namespace quorvex::serial {

class LineEvents final : public QObject {
    Q_OBJECT
signals:
    void hungUp(const QString& devicePath);
};

LineEvents& lineEvents();

} // namespace quorvex::serial
