#pragma once

#include "framework/ModuleId.h"

class CommandTarget;
class DocTemplate;
class QFileIconProvider;
class SettingsStore;

// What the main frame needs of the program: the template of each module (which keeps the
// module's live form), the icons of the file system, and the last target of every command (the
// application). The application object implements it; the frame never sees the application's class.
class ModuleRegistry {
public:
    virtual DocTemplate& docTemplate(ModuleId module) = 0;
    virtual QFileIconProvider& iconProvider() = 0;
    virtual CommandTarget& applicationCommands() = 0;
    // The user's settings, where the frame keeps its size and position.
    virtual SettingsStore& settings() = 0;

protected:
    ~ModuleRegistry() = default;
};
