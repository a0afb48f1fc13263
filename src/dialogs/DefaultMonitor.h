#pragma once

// The monitor a centred window is shown on.
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };
