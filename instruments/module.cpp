// The exports of "TARN2_Instruments": the import table that the host fills and the Linkage that
// lists the module's gauges in order.
#include "instruments/tarn2.h"

extern "C" {

TARN_EXPORT IMPORT_TABLE ImportTable = TARN_IMPORT_TABLE_AS_BUILT;

TARN_EXPORT GAUGESLINKAGE Linkage = {
    0x00000013,
    module_init,
    module_deinit,
    0,
    0,
    0x0,
    {
        &hsi_gauge,
        &clock_gauge,
        &dme_gauge,
        &airspeed_gauge,
        &vertical_speed_gauge,
        &altimeter_gauge,
        &turn_coordinator_gauge,
        &attitude_gauge,
        &oil_temp_press_gauge,
        &engine_temp_gauge,
        &fuel_pressure_gauge,
        &tachometer_gauge,
        &manifold_pressure_gauge,
        &registration_gauge,
        &radio_alt_gauge,
        &radio_alt_switch_gauge,
        &nav_gps_switch_gauge,
        &avionics_switch_gauge,
        &alt_bat_gauge,
        &magnetic_compass_gauge,
        &adf_gauge,
        &vor1_gauge,
        &vor2_gauge,
        &battery_gauge,
        &left_generator_gauge,
        &right_generator_gauge,
        &audiopanel_gauge,
        &suction_indicator_gauge,
        &oat_indicator_gauge,
        &throttle_quadrant_gauge,
        NULL,
    },
};

}  // extern "C"
