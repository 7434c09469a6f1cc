#include "app/ModuleForms.h"

#include "app/CVyx31App.h"
#include "converter/CViewConverter.h"
#include "player/forms/CViewPlayer.h"
#include "shell/CHelpViewer.h"
#include "splitjoin/forms/CEncodeView.h"
#include "splitjoin/forms/CViewDecoder.h"

void ModuleForms::install(CVyx31App& app) {
    // Each module adds one line here when its form exists, for example:
    //   app.docTemplate(ModuleId::Encoder).setFormFactory(&CEncodeView::create);
    app.docTemplate(ModuleId::Encoder).setFormFactory(&CEncodeView::create);
    app.docTemplate(ModuleId::Decoder).setFormFactory(&CViewDecoder::create);
    app.docTemplate(ModuleId::Help).setFormFactory(&CHelpViewer::create);
    app.docTemplate(ModuleId::Converter).setFormFactory(&CViewConverter::create);
    app.docTemplate(ModuleId::Player).setFormFactory(&CViewPlayer::create);
}
