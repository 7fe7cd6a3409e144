#pragma once
// Everything a program built on the framework uses.
#include "framework/App.h"
#include "framework/Bars.h"
#include "framework/CmdTarget.h"
#include "framework/Dialog.h"
#include "framework/DocView.h"
#include "framework/Gdi.h"
#include "framework/InvalidArgument.h"
#include "framework/ProfileStore.h"
#include "framework/RegistryProfile.h"
#include "framework/Resource.h"
#include "framework/Wnd.h"
#include "win/Handles.h"
