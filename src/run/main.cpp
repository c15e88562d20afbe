// Process entry of the sensor: one run, then the exit status.
#include "os/local_time.h"
#include "run/sensor.h"

int main(int argc, char** argv) {
  tw::Sensor sensor;
  tw::set_error_report_target(&sensor);
  return tw::sensor_main(sensor, argc, argv, tw::local_time_of_day());
}
