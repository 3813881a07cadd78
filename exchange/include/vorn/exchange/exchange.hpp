// The instruction-encoding library: its error type, the encoders and the decoder.
#pragma once

#include "vorn/exchange/decoder.hpp"
#include "vorn/exchange/encoders.hpp"
#include "vorn/exchange/exchange_error.hpp"
#include "vorn/exchange/hex.hpp"
#include "vorn/exchange/instruction.hpp"
