// The exports of "TARN": the import table that the host fills and the Linkage that
// lists the module's gauges in order.
#include "systems/tarn.h"

extern "C" {

int32_t engine1_magneto_a_on = 0;
int32_t engine1_magneto_b_on = 0;
int32_t left_generator_on = 0;
int32_t right_generator_on = 0;
int32_t battery_master_on = 0;
int32_t passenger_notices_on = 0;
int32_t avionics_master_on = 0;
int32_t left_gen_offline = 0;
int32_t right_gen_offline = 0;
int32_t lamp_test_active = 0;
int32_t lamps_dim = 0;
int32_t door_horn_active = 0;

TARN_EXPORT IMPORT_TABLE ImportTable = TARN_IMPORT_TABLE_AS_BUILT;

TARN_EXPORT GAUGESLINKAGE Linkage = {
    0x00000013,
    module_init,
    module_deinit,
    0,
    0,
    0x800,
    {
        &magnetos_gauge,
        &flaps_gauge,
        &stall_gauge_gauge,
        &fuel_left_gauge,
        &fuel_right_gauge,
        &voltamp_gauge,
        &warnings_gauge,
        &warnings_di_gauge,
        &switches_gauge,
        &switches_di_gauge,
        &avionic_master_gauge,
        &speedgauge_gauge,
        &engines_gauge,
        &primer_gauge,
        &omi_gauge,
        &pn_gauge,
        &slave_gauge,
        &autocord_gauge,
        &suction_gauge,
        &radios_gauge,
        &pump_1_gauge,
        &pump_2_gauge,
        NULL,
    },
};

}  // extern "C"
