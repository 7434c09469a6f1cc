#pragma once

#include "framework/ModuleId.h"

#include <QWidget>

class CommandTarget;
class DocTemplate;
class QFileIconProvider;

// What the main frame needs of the program: the template of each module, the live form of a
// module, the icons of the file system, and the last target of every command (the application).
// The application object implements it; the frame never sees the application's class.
class ModuleRegistry {
public:
    virtual DocTemplate& docTemplate(ModuleId module) = 0;
    // The live form of the module, or null when its window does not exist.
    virtual QWidget* form(ModuleId module) const = 0;
    virtual QFileIconProvider& iconProvider() = 0;
    virtual CommandTarget& applicationCommands() = 0;

protected:
    ~ModuleRegistry() = default;
};
