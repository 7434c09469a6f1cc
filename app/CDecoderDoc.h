#pragma once

#include "framework/Document.h"

// The document of the Decoder, Player, Encoder and Converter windows. It holds no data: those
// modules keep their state in their forms.
class CDecoderDoc : public Document {};
