#include "framework/DocTemplate.h"

#include "framework/CommandIcons.h"

QIcon DocTemplate::icon() const { return CommandIcons::forResource(resourceId_); }
