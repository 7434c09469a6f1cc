#include "framework/ModalDialog.h"

// The dialogs' data exchange lives in the header; this file gives the class its meta-object.
