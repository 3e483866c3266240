// The systems module "TARN": its gauge headers and the module variables that several
// of its gauges share.
#ifndef TARN_SYSTEMS_TARN_H
#define TARN_SYSTEMS_TARN_H

#include "framework/linkage.h"
#include "platform/win32.h"

// Module variables that several gauges share: 32-bit integers holding 0 or 1, zero when
// the module is loaded, never reset by gauge install or kill. Each is written by one
// gauge (or both variants of one panel) and read by others.
extern "C" {
extern int32_t engine1_magneto_a_on;  // written by "Magnetos"; read by the DOORS lamp's horn
extern int32_t engine1_magneto_b_on;
extern int32_t left_generator_on;     // written by the switch panels; read by the GEN lamps,
extern int32_t right_generator_on;    // the ammeter and the passenger notices sign
extern int32_t battery_master_on;
extern int32_t passenger_notices_on;
extern int32_t avionics_master_on;    // written by "Avionic Master"; read by the ammeter
extern int32_t left_gen_offline;      // written by the annunciator panels; read by the
extern int32_t right_gen_offline;     // BUSBAR lamp, the ammeter, the suction lamps and
extern int32_t lamp_test_active;      // the stall light
extern int32_t lamps_dim;
extern int32_t door_horn_active;
}

// Gauge headers, in Linkage order.
extern GAUGEHDR magnetos_gauge;
extern GAUGEHDR flaps_gauge;
extern GAUGEHDR stall_gauge_gauge;
extern GAUGEHDR fuel_left_gauge;
extern GAUGEHDR fuel_right_gauge;
extern GAUGEHDR voltamp_gauge;
extern GAUGEHDR warnings_gauge;
extern GAUGEHDR warnings_di_gauge;
extern GAUGEHDR switches_gauge;
extern GAUGEHDR switches_di_gauge;
extern GAUGEHDR avionic_master_gauge;
extern GAUGEHDR speedgauge_gauge;
extern GAUGEHDR engines_gauge;
extern GAUGEHDR primer_gauge;
extern GAUGEHDR omi_gauge;
extern GAUGEHDR pn_gauge;
extern GAUGEHDR slave_gauge;
extern GAUGEHDR autocord_gauge;
extern GAUGEHDR suction_gauge;
extern GAUGEHDR radios_gauge;
extern GAUGEHDR pump_1_gauge;
extern GAUGEHDR pump_2_gauge;

#endif
