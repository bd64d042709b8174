// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QApplication>
#include <functional>

// The application object. Every event goes through notify(), so this is where an error that a
// handler lets through is caught: its text is shown in a message box and the program carries on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    static QIcon ProgramIcon();  // the program's picture, in every size it comes in

    // Runs work; an error it lets through is shown and work counts as not done (false).
    static bool RunGuarded(const std::function<bool()>& work);
    // Shows an error's text; a message box unless replaced (tests replace it).
    static void ShowError(const QString& text);
    static std::function<void(const QString&)> errorPresenter;
};
