// Everything of the forms layer.
#pragma once

#include "forms/bars.h"
#include "forms/control.h"
#include "forms/controlarray.h"
#include "forms/controls.h"
#include "forms/dialogs.h"
#include "forms/folders.h"
#include "forms/form.h"
#include "forms/listview.h"
#include "forms/lists.h"
#include "forms/menu.h"
#include "forms/scrollbar.h"
#include "forms/timer.h"
