// The instrument module "TARN2_Instruments": its gauge headers and the state that its
// gauges share.
#ifndef TARN_INSTRUMENTS_TARN2_H
#define TARN_INSTRUMENTS_TARN2_H

#include "framework/linkage.h"
#include "instruments/params.h"
#include "platform/win32.h"

// The flag sets the instrument gauges use, by what they are for.
inline constexpr FLAGS32 DIAL = IMAGE_USE_LUMINOUS | IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;            // 0x4003
inline constexpr FLAGS32 LIT_SMOOTH =
    IMAGE_USE_LUMINOUS | IMAGE_BILINEAR_COLOR | IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;             // 0x4083
inline constexpr FLAGS32 SMOOTH = IMAGE_BILINEAR_COLOR | IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;       // 0x83
inline constexpr FLAGS32 OVERLAY = IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;                             // 0x3
inline constexpr FLAGS32 BRIGHT = IMAGE_USE_BRIGHT | IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;           // 0x7
inline constexpr FLAGS32 BRIGHT_TEXT = BRIGHT;
inline constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;                                                       // 0x20000000
inline constexpr FLAGS32 CLICK_REPEAT = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;                            // 0x20200000
inline constexpr FLAGS32 CLICK_DRAG = MOUSE_LEFTSINGLE | MOUSE_LEFTDRAG;                                 // 0x20800000

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
