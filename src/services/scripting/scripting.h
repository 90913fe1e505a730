#pragma once
// The scripting bridge.

#include "services/scripting/ScriptBridge.h"
#include "services/scripting/ScriptClassDefinition.h"
#include "services/scripting/ScriptEngine.h"
#include "services/scripting/ScriptException.h"
#include "services/scripting/ScriptObject.h"
#include "services/scripting/ScriptValue.h"
#include "services/scripting/UIThreadCall.h"
