// The simulator as the drop-in DLL uses it: its own hidapi entry points take
// other names, so that the DLL's exports (SimulatorDll.cpp) can log every
// call and take the devices from the control file before passing it on.
#define hid_init simcore_hid_init
#define hid_exit simcore_hid_exit
#define hid_enumerate simcore_hid_enumerate
#define hid_open_path simcore_hid_open_path
#define hid_write simcore_hid_write
#define hid_read_timeout simcore_hid_read_timeout
#define hid_read simcore_hid_read

#include "HidSimulator.cpp"
