#pragma once
// The Qt-facing API for host applications: DockHost docks a Qt application's own widgets
// in a docking workspace in its QMainWindow; WidgetPanel is the panel that shows a widget.

#include "qtwidgets/DockHost.h"
#include "qtwidgets/DockPlace.h"
#include "qtwidgets/WidgetPanel.h"
