#pragma once

#include <QWidget>

#include <functional>

namespace vexa::test {

/// Runs \p drive on the next modal dialog that \p isWanted accepts once it is
/// up; the test fails when none comes.
void DriveModalWidget(std::function<bool(QWidget&)> isWanted, std::function<void(QWidget&)> drive);

/// Runs \p drive on the next modal dialog of class \p T once it is up.
template <typename T>
void DriveModal(std::function<void(T&)> drive)
{
    DriveModalWidget([](QWidget& modal) { return qobject_cast<T*>(&modal) != nullptr; },
                     [drive = std::move(drive)](QWidget& modal) { drive(*qobject_cast<T*>(&modal)); });
}

}  // namespace vexa::test
