// Leveled diagnostic events from the readers, delivered to one sink that the user installs.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "redivi/export.hpp"

namespace redivi::diagnostics {

// Higher levels are more verbose: a sink that wants debug events also gets warnings.
enum class Level : std::uint8_t {
  off = 0,
  warn = 1,
  debug = 2,
};

// One diagnostic. The views are valid only while the sink runs: copy what you keep.
struct Event {
  std::string_view target;  // the emitting module, such as "redivi::convert::pdb"
  Level level;              // warn or debug, never off
  std::string_view message;
};

// Called on the thread that emits the event, outside any lock: readers on several threads may call it
// at once, and it may itself install another sink.
using Sink = std::function<void(const Event&)>;

// Installs the sink, replacing any other, for events up to max_level; an empty sink or Level::off removes
// it. Safe while readers run on other threads.
REDIVI_EXPORT void set_sink(Sink sink, Level max_level);
// Removes the sink; nothing is shown from then on (the default).
REDIVI_EXPORT void clear_sink();

// One relaxed atomic load: callers test it before building a message.
REDIVI_EXPORT bool enabled(Level level) noexcept;

// Delivers the event to the sink when one listens at this level.
REDIVI_EXPORT void emit(std::string_view target, Level level, std::string_view message);

}  // namespace redivi::diagnostics
