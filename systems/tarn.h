// The systems module "TARN": its gauge headers and the module variables that several
// of its gauges share.
#ifndef TARN_SYSTEMS_TARN_H
#define TARN_SYSTEMS_TARN_H

#include "framework/linkage.h"
#include "platform/win32.h"

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
