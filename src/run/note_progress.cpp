// Run control's notes of what is in work. Each one changes the progress record under the
// output lock, together with the output that belongs to the change, so that the watchdog
// never sees a record that does not match what has been printed.
#include "os/output_lock.h"
#include "run/sensor.h"

namespace tw {

void print_answer(Sensor& sensor, std::string_view text, int status) {
  const OutputLock hold;
  print_holding_lock(sensor.out, text);
  sensor.progress.phase = RunPhase::answered;
  sensor.progress.exit_status = status;
}

void begin_single_progress(Sensor& sensor) {
  const OutputLock hold;
  RunProgress& progress = sensor.progress;
  progress.phase = RunPhase::single_system;
  progress.destination = sensor.profile.destination;
  progress.step = RfcStep::open;
  progress.head_printed = false;
  progress.rest.clear();
}

void note_rfc_step(Sensor& sensor, RfcStep step) {
  const OutputLock hold;
  sensor.progress.step = step;
}

void print_document_head(Sensor& sensor, std::string_view head) {
  const OutputLock hold;
  print_holding_lock(sensor.out, head);
  sensor.progress.head_printed = true;
  sensor.progress.rest = sensor.report.buffer;
}

void print_list_start(Sensor& sensor, std::string_view document_start) {
  const OutputLock hold;
  print_holding_lock(sensor.out, document_start);
  RunProgress& progress = sensor.progress;
  progress.phase = RunPhase::global_list;
  progress.frame = sensor.report;
  progress.frame.buffer.clear();
  progress.item = sensor.settings.item;
  progress.systems = sensor.list.systems;
  progress.processed = sensor.list.processed;
  progress.failed = sensor.list.failed;
  progress.listing = sensor.list.listing;
  progress.system_name.clear();
  progress.in_work = false;
  progress.system_line.clear();
}

void note_system_in_work(Sensor& sensor, const std::string& name,
                         const std::string& system_line) {
  const OutputLock hold;
  RunProgress& progress = sensor.progress;
  progress.systems = sensor.list.systems;
  progress.processed = sensor.list.processed;
  progress.failed = sensor.list.failed;
  progress.listing = sensor.list.listing;
  progress.system_name = name;
  progress.in_work = true;
  progress.system_line = system_line;
}

void note_system_counted(Sensor& sensor, const std::string& name, std::string_view state_line) {
  const OutputLock hold;
  if (!state_line.empty()) print_holding_lock(sensor.out, state_line);
  RunProgress& progress = sensor.progress;
  progress.systems = sensor.list.systems;
  progress.processed = sensor.list.processed;
  progress.failed = sensor.list.failed;
  progress.listing = sensor.list.listing;
  progress.system_name = name;
  progress.in_work = false;
  progress.system_line.clear();
}

}  // namespace tw
