#pragma once

// The five modules of the program, each opening at most one window.
enum class ModuleId { Decoder, Player, Encoder, Converter, Help };
