#pragma once

// The patch engine: byte access to host code under protection scopes, call and jump
// redirection, and the classes that keep and put back the bytes of intercepted sites.

#include "injector/branch.h"
#include "injector/function_hooker.h"
#include "injector/memory.h"
#include "injector/protection.h"
#include "injector/scoped.h"
