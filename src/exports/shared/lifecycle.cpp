// vesk_free and vesk_geterror: the same at both levels.
#include "base/public_header.h"
#include "base/status.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"

// The statuses the internals report are the public codes.
static_assert(static_cast<int32_t>(vesk::Status::Ok) == VESK_OK);
static_assert(static_cast<int32_t>(vesk::Status::BasinNotFound) == VESK_ERR_BASIN_NOT_FOUND);
static_assert(static_cast<int32_t>(vesk::Status::CannotBuild) == VESK_ERR_UH_FIT);
static_assert(static_cast<int32_t>(vesk::Status::NoMemory) == VESK_ERR_NO_MEMORY);
static_assert(static_cast<int32_t>(vesk::Status::NullArgument) == VESK_ERR_NULL);
static_assert(static_cast<int32_t>(vesk::Status::DuplicateName) == VESK_ERR_DUPLICATE_BASIN);

extern "C" {

VESK_API void VESK_CALL vesk_free(void) {
    vesk::LibraryState &state = vesk::libraryState();
    vesk::teardownRegistry(state.registry);
    state.registry = nullptr;
    state.errorCode = VESK_OK;
}

VESK_API int32_t VESK_CALL vesk_geterror(void) { return vesk::errorCode(); }

} // extern "C"
