#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QApplication;

// The one QApplication of a window test program: the offscreen platform, Qt WebEngine's sandbox
// off, and temporary config and home folders, so that the real settings file of the test lies
// in a folder of its own.
class WindowTestApp {
public:
    static QApplication& instance();
    static std::string configFolder();
    static std::string homeFolder();
    // The settings file QSettings("OzmoMp3s", "vyx31") writes.
    static std::string settingsFile();
    // Removes the settings file and every value cached for it.
    static void clearSettings();
    // Processes events until the condition holds or the time is up; answers the condition.
    static bool waitUntil(const std::function<bool()>& condition, int milliseconds);
};

// Answers the modal dialogs that run while it lives, in order, with the given answerers; a
// dialog beyond them is rejected. Records the title and text of every dialog that ran.
class DialogAnswers {
public:
    using Answer = std::function<int(QDialog&)>;
    explicit DialogAnswers(std::vector<Answer> answers = {});
    ~DialogAnswers();

    struct Seen {
        QString title;
        QString text;  // a message box's text
    };
    const std::vector<Seen>& seen() const { return seen_; }

    // Answers that accept or reject the dialog as it stands.
    static int accept(QDialog& dialog);
    static int reject(QDialog& dialog);

private:
    std::vector<Answer> answers_;
    std::vector<Seen> seen_;
};
