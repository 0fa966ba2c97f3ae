#include "ModalDriver.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace vexa::test {

namespace {

/// How often, and how many times, a driver looks for its modal dialog.
constexpr int kModalPollMs = 10;
constexpr int kModalPollAttempts = 1000;

void DriveModalAttempt(std::function<bool(QWidget&)> isWanted, std::function<void(QWidget&)> drive,
                       int attemptsLeft)
{
    QTimer::singleShot(kModalPollMs, [isWanted = std::move(isWanted), drive = std::move(drive), attemptsLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && isWanted(*modal)) {
            drive(*modal);
            return;
        }
        if (attemptsLeft == 0) {
            ADD_FAILURE() << "the expected modal dialog did not open";
            return;
        }
        DriveModalAttempt(std::move(isWanted), std::move(drive), attemptsLeft - 1);
    });
}

}  // namespace

void DriveModalWidget(std::function<bool(QWidget&)> isWanted, std::function<void(QWidget&)> drive)
{
    DriveModalAttempt(std::move(isWanted), std::move(drive), kModalPollAttempts);
}

}  // namespace vexa::test
