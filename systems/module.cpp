// The exports of "TARN": the import table that the host fills and the Linkage that
// lists the module's gauges in order.
#include "systems/tarn.h"

extern "C" {

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
