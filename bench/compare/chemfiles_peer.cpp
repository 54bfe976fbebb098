// chemfiles' readers and writers, on memory buffers, with its warnings silenced.
#include <chemfiles.hpp>

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "peers.hpp"

namespace redivi::compare {
namespace {

void silence_warnings() {
  [[maybe_unused]] static const bool silenced = [] {
    chemfiles::set_warning_callback([](const std::string&) {});
    return true;
  }();
}

chemfiles::Trajectory open_reader(std::string_view text, const std::string& format) {
  silence_warnings();
  return chemfiles::Trajectory::memory_reader(text.data(), text.size(), format);
}

// Reads every frame in turn with Trajectory::read and hands it to keep, which keeps it or lets it
// be freed.
template <class Keep>
bench::ReadResult read_frames(std::string_view text, const std::string& format, Keep keep) {
  try {
    chemfiles::Trajectory trajectory = open_reader(text, format);
    bench::ReadResult result;
    while (!trajectory.done()) {
      chemfiles::Frame frame = trajectory.read();
      ++result.structures;
      result.atoms += frame.size();
      keep(std::move(frame));
    }
    return result;
  } catch (const std::exception& error) { return {0, 0, error.what()}; }
}

bench::ReadResult read_each(std::string_view text, const std::string& format) {
  return read_frames(text, format, [](chemfiles::Frame&&) {});
}

bench::ReadResult read_all(std::string_view text, const std::string& format) {
  std::vector<chemfiles::Frame> frames;
  return read_frames(text, format, [&frames](chemfiles::Frame&& frame) { frames.push_back(std::move(frame)); });
}

std::size_t frame_count(std::string_view text, const std::string& format) {
  try {
    return open_reader(text, format).size();
  } catch (const std::exception&) { return 0; }
}

class ChemfilesWriter final : public PeerWriter {
 public:
  ChemfilesWriter(std::vector<chemfiles::Frame> frames, std::string format)
      : frames_(std::move(frames)), format_(std::move(format)) {}

  std::size_t write() override {
    try {
      chemfiles::Trajectory trajectory = chemfiles::Trajectory::memory_writer(format_);
      for (const chemfiles::Frame& frame : frames_) trajectory.write(frame);
      trajectory.close();  // writes what the format puts after the last frame
      const auto written = trajectory.memory_buffer();
      return written ? written->size() : 0;
    } catch (const std::exception&) { return 0; }
  }

 private:
  std::vector<chemfiles::Frame> frames_;
  std::string format_;
};

std::unique_ptr<PeerWriter> writer(std::string_view text, const std::string& format, Frames which) {
  std::vector<chemfiles::Frame> frames;
  try {
    chemfiles::Trajectory trajectory = open_reader(text, format);
    const std::size_t wanted = which == Frames::first ? std::min<std::size_t>(trajectory.size(), 1) : trajectory.size();
    while (frames.size() < wanted) frames.push_back(trajectory.read());
  } catch (const std::exception&) { return nullptr; }
  if (frames.empty()) return nullptr;
  return std::make_unique<ChemfilesWriter>(std::move(frames), format);
}

}  // namespace

std::vector<Side> chemfiles_readers(std::string_view text, const std::string& format,
                                    Outcome (*count)(const bench::ReadResult&)) {
  const std::string one_frame = frame_count(text, format) > 1 ? "" : "one frame: the same as frame by frame";
  return {
      {"chemfiles", [text, format, count] { return count(read_each(text, format)); }},
      {"chemfiles kept", [text, format, count] { return count(read_all(text, format)); }, one_frame},
  };
}

std::vector<Side> chemfiles_writers(std::string_view text, const std::string& format, Frames frames) {
  const std::shared_ptr<PeerWriter> chemfiles = writer(text, format, frames);
  return {{"chemfiles", [chemfiles] { return write_with(chemfiles.get()); }}};
}

std::string_view chemfiles_legend() {
  return "chemfiles reads from memory frame by frame (Trajectory::read), each frame freed after use;\n"
         "\"chemfiles kept\" keeps every frame until the end, as our readers return them.\n\n";
}

}  // namespace redivi::compare
