// The instrument module "TARN2_Instruments": its gauge headers and the state that its
// gauges share.
#ifndef TARN_INSTRUMENTS_TARN2_H
#define TARN_INSTRUMENTS_TARN2_H

#include "framework/linkage.h"
#include "instruments/params.h"
#include "platform/win32.h"

// Gauge headers, in Linkage order.
extern GAUGEHDR hsi_gauge;
extern GAUGEHDR clock_gauge;
extern GAUGEHDR dme_gauge;
extern GAUGEHDR airspeed_gauge;
extern GAUGEHDR vertical_speed_gauge;
extern GAUGEHDR altimeter_gauge;
extern GAUGEHDR turn_coordinator_gauge;
extern GAUGEHDR attitude_gauge;
extern GAUGEHDR oil_temp_press_gauge;
extern GAUGEHDR engine_temp_gauge;
extern GAUGEHDR fuel_pressure_gauge;
extern GAUGEHDR tachometer_gauge;
extern GAUGEHDR manifold_pressure_gauge;
extern GAUGEHDR registration_gauge;
extern GAUGEHDR radio_alt_gauge;
extern GAUGEHDR radio_alt_switch_gauge;
extern GAUGEHDR nav_gps_switch_gauge;
extern GAUGEHDR avionics_switch_gauge;
extern GAUGEHDR alt_bat_gauge;
extern GAUGEHDR magnetic_compass_gauge;
extern GAUGEHDR adf_gauge;
extern GAUGEHDR vor1_gauge;
extern GAUGEHDR vor2_gauge;
extern GAUGEHDR battery_gauge;
extern GAUGEHDR left_generator_gauge;
extern GAUGEHDR right_generator_gauge;
extern GAUGEHDR audiopanel_gauge;
extern GAUGEHDR suction_indicator_gauge;
extern GAUGEHDR oat_indicator_gauge;
extern GAUGEHDR throttle_quadrant_gauge;

#endif
