// Process entry of the sensor: one run, then the end of the process with its status.
#include "os/deadline_timer.h"
#include "os/local_time.h"
#include "run/sensor.h"

int main(int argc, char** argv) {
  // Never destroyed: end_process does not return, so the watchdog may use it to the end.
  tw::Sensor sensor;
  sensor.settings.start_ms = tw::steady_milliseconds();
  sensor.settings.watchdog = true;
  tw::set_error_report_target(&sensor);
  tw::end_process(tw::sensor_main(sensor, argc, argv, tw::local_time_of_day()));
}
