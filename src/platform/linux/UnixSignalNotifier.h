// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

namespace platform {

// Turns Unix signals into a Qt signal delivered by the event loop, where it is safe to save
// settings, close windows or cancel a run. One instance per process.
class UnixSignalNotifier : public QObject {
    Q_OBJECT
public:
    explicit UnixSignalNotifier(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
    ~UnixSignalNotifier() override;

signals:
    void Raised(int signalNumber);

private:
    void Dispatch();
    QSocketNotifier* notifier_ = nullptr;
    std::vector<int> signalNumbers_;
};

}  // namespace platform
