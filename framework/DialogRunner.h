#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Runs every modal dialog of the program. A test installs an answerer that gets the dialog,
// ready to show, instead of a person: it may fill controls, accept() or reject() it, and
// returns the result.
class DialogRunner {
public:
    using Answerer = std::function<int(QDialog&)>;

    static int run(QDialog& dialog);
    static void setAnswerer(Answerer answerer);

    // The information box that folder commands show their errors in.
    static void information(QWidget* parent, const QString& title, const QString& text);
    // The stop box of failures that must interrupt the user.
    static void critical(QWidget* parent, const QString& title, const QString& text);
    // The folder selection dialog titled "Select Directory", starting at start; the chosen
    // folder, or empty when cancelled.
    static QString chooseFolder(QWidget* parent, const QString& start);

private:
    static Answerer& answerer();
};
