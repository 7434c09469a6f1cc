#pragma once

class CVyx31App;

// Plugs the form factory of each module that has a form into its document template. A module
// whose form is not installed here does not open.
class ModuleForms {
public:
    static void install(CVyx31App& app);
};
