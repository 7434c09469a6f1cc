#pragma once

#include "app/CVyx31App.h"
#include "framework/ChildFrame.h"
#include "framework/ModuleForm.h"
#include "shell/FolderHandlingForm.h"
#include "shell/HelpBrowserForm.h"
#include "shell/PlayerCloseControl.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// A module form as the real ones behave towards the frames: it registers itself in the
// application object at its initial update and leaves in its destructor, keeps a current
// folder and records the folders the tree hands it.
class StandInForm : public QWidget, public ModuleForm, public FolderHandlingForm {
public:
    StandInForm(CVyx31App& app, ModuleId module, QString folder) : app_(app), module_(module), folder_(std::move(folder)) {}
    ~StandInForm() override {
        if (app_.form(module_) == this) app_.setForm(module_, nullptr);
    }

    void initialUpdate(ChildFrame&) override { app_.setForm(module_, this); }
    QString currentFolder() const override { return folder_; }
    void setCurrentFolder(const QString& folder) override { folder_ = folder; }
    bool ReceiveFolder(const QString& folder) override {
        received.append(folder);
        return acceptsFolders;
    }

    QStringList received;
    bool acceptsFolders = true;

private:
    CVyx31App& app_;
    ModuleId module_;
    QString folder_;
};

// The Player form as far as closing goes: playing until the test stops it; asked to close when
// stopped, it closes its own window once it has stopped, as the real one does through its
// sequencer.
class StandInPlayer : public StandInForm, public PlayerCloseControl {
public:
    StandInPlayer(CVyx31App& app, QString folder) : StandInForm(app, ModuleId::Player, std::move(folder)) {}

    void initialUpdate(ChildFrame& frame) override {
        StandInForm::initialUpdate(frame);
        frame_ = &frame;
    }
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
    explicit StandInHelp(CVyx31App& app) : app_(app) {}
    ~StandInHelp() override {
        if (app_.form(ModuleId::Help) == this) app_.setForm(ModuleId::Help, nullptr);
    }

    void initialUpdate(ChildFrame&) override { app_.setForm(ModuleId::Help, this); }
    void Navigate(const QString& address) override { pages.append(address); }
    void RebuildFavorites() override { ++favoritesRebuilt; }

    QStringList pages;
    int favoritesRebuilt = 0;

private:
    CVyx31App& app_;
};
