#pragma once

#include "framework/Document.h"

// The Help window's document. It holds nothing but its title, which is the address shown.
class CHelpDoc : public Document {};
