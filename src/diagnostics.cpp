// The diagnostics sink: an atomic level for the cheap test, the sink itself behind a mutex.
#include "redivi/diagnostics.hpp"

#include <atomic>
#include <memory>
#include <mutex>

namespace redivi::diagnostics {
namespace {

std::atomic<Level> max_enabled{Level::off};
std::mutex sink_mutex;
struct Listener {
  Sink sink;
  Level max_level;
};
std::shared_ptr<const Listener> installed;

}  // namespace

void set_sink(Sink sink, Level max_level) {
  auto next = sink && max_level != Level::off ? std::make_shared<const Listener>(std::move(sink), max_level) : nullptr;
  const std::lock_guard lock{sink_mutex};
  installed = std::move(next);
  max_enabled.store(installed ? max_level : Level::off, std::memory_order_relaxed);
}

void clear_sink() { set_sink(nullptr, Level::off); }

bool enabled(Level level) noexcept {
  return level != Level::off && level <= max_enabled.load(std::memory_order_relaxed);
}

void emit(std::string_view target, Level level, std::string_view message) {
  if (!enabled(level)) return;
  std::shared_ptr<const Listener> listener;
  {
    const std::lock_guard lock{sink_mutex};
    listener = installed;
  }
  // The sink runs outside the lock, so it may itself install another sink.
  if (listener && level <= listener->max_level) listener->sink(Event{target, level, message});
}

}  // namespace redivi::diagnostics
