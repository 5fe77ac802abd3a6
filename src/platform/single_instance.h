// One running copy per executable name. The first copy holds a lock file named after the
// upper-cased executable name and listens on a local socket of the same name; a later copy
// finds the lock taken, asks the first copy to show its window, and ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace isp {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the upper-cased executable name; folder: where the lock lives (the temp folder).
    TSingleInstance(const QString& name, const QString& folder);
    ~TSingleInstance() override;

    // True when this copy is the first one (it then holds the lock until destroyed). A later
    // copy gets false after it has asked the first copy to come to the front.
    bool Acquire();
    // Runs in the first copy each time a later copy starts.
    std::function<void()> OnActivate;

private:
    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

// The lock name for an executable path: its file name, upper-cased.
QString InstanceName(const QString& executablePath);

} // namespace isp
