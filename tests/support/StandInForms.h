#pragma once

#include "framework/ChildFrame.h"
#include "framework/ModuleForm.h"
#include "shell/FolderHandlingForm.h"
#include "shell/HelpBrowserForm.h"
#include "shell/PlayerCloseControl.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// A module form as the real ones behave towards the frames: it keeps a current folder and
// records the folders the tree hands it. Its template keeps it as the module's live form.
class StandInForm : public QWidget, public ModuleForm, public FolderHandlingForm {
public:
    explicit StandInForm(QString folder) : folder_(std::move(folder)) {}

    void initialUpdate(ChildFrame&) override {}
    QString currentFolder() const override { return folder_; }
    void setCurrentFolder(const QString& folder) override { folder_ = folder; }
    bool ReceiveFolder(const QString& folder) override {
        received.append(folder);
        return acceptsFolders;
    }

    QStringList received;
    bool acceptsFolders = true;

private:
    QString folder_;
};

// The Player form as far as closing goes: playing until the test stops it; asked to close when
// stopped, it closes its own window once it has stopped, as the real one does through its
// sequencer.
class StandInPlayer : public StandInForm, public PlayerCloseControl {
public:
    using StandInForm::StandInForm;

    void initialUpdate(ChildFrame& frame) override { frame_ = &frame; }
    bool isStopped() const override { return stopped; }
    void closeWhenStopped() override { ++closeRequests; }
    void stop() {
        stopped = true;
        if (closeRequests > 0 && frame_) frame_->closeWithoutAsking();
    }

    bool stopped = false;
    int closeRequests = 0;

private:
    QPointer<ChildFrame> frame_;
};

// The Help browser as far as the frame goes: it records the pages it was asked to show and how
// often its Favorites menu was rebuilt.
class StandInHelp : public QWidget, public ModuleForm, public HelpBrowserForm {
public:
    void initialUpdate(ChildFrame&) override {}
    void Navigate(const QString& address) override { pages.append(address); }
    void RebuildFavorites() override { ++favoritesRebuilt; }

    QStringList pages;
    int favoritesRebuilt = 0;
};
