#pragma once

// The patch engine: byte access to host code under protection scopes, call and jump
// redirection, tables of patches that are checked before they are written, and the hook
// that keeps and puts back the bytes of an intercepted call site.

#include "injector/branch.h"
#include "injector/memory.h"
#include "injector/opcodes.h"
#include "injector/patch_table.h"
#include "injector/protection.h"
#include "injector/site_hook.h"
