// The systems module "TARN": its gauge headers, the module variables that several of its
// gauges share, and the switch callback families that several gauges build on.
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

// The switch callback families that several gauges share. Each row of a panel has its own
// function, made from these by naming the row's recorded variable or key event:
//   .update_cb = switch_icon_cb<&beacon_on>          (icon update callback)
//   MOUSE_CHILD_FUNCT(..., key_mouse_cb<65560>)       (mouse callback)
//
// switch_icon_cb follows a simulator on/off variable: it clicks whenever the value differs
// from the recorded 0/1 (so a value of 2 clicks at every update), records 1 for any value
// other than 0.0, and shows the value as the frame.
template <int32_t* recorded>
FLOAT64 TARN_CALL switch_icon_cb(ELEMENT_ICON* icon) {
    const FLOAT64 v = icon->source_var.var_value.n;
    if (FLOAT64(*recorded) != v) sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    *recorded = v != 0.0 ? 1 : 0;
    return v;
}

// key_mouse_cb sends one fixed key event with value 0 and plays nothing: the click follows
// when the simulator's variable changes and the switch icon notices it.
template <UINT32 event>
BOOL TARN_CALL key_mouse_cb(PPIXPOINT, FLAGS32) {
    trigger_key_event(event, 0);
    return TRUE;
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
