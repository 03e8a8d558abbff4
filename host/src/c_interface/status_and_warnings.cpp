// The status every call fills, the core's version and the warnings handle.
#include <cstring>
#include <new>

#include "handles.h"
#include "input_error.h"
#include "library_errors.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::host::c_interface {

namespace {

// The message cut to the buffer at a UTF-8 character boundary, marked "...".
void setMessage(VeskHostStatus &status, const std::string &message) {
    const std::size_t room = sizeof status.message - 1;
    std::string text = message;
    if (text.size() > room) {
        std::size_t cut = room - 3;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text = text.substr(0, cut) + "...";
    }
    std::memcpy(status.message, text.c_str(), text.size() + 1);
}

void fill(VeskHostStatus *status, int32_t code, int32_t libraryCode, const std::string &message) {
    if (status == nullptr) return;
    status->code = code;
    status->libraryCode = libraryCode;
    setMessage(*status, message);
}

} // namespace

int32_t guarded(VeskHostStatus *status, const std::function<void()> &work) {
    try {
        work();
        fill(status, VESK_HOST_OK, 0, "");
        return VESK_HOST_OK;
    } catch (const InputError &error) {
        fill(status, VESK_HOST_INPUT_ERROR, 0, error.what());
        return VESK_HOST_INPUT_ERROR;
    } catch (const LibraryError &error) {
        fill(status, VESK_HOST_LIBRARY_REFUSED, error.code(), error.what());
        return VESK_HOST_LIBRARY_REFUSED;
    } catch (const ArgumentError &error) {
        fill(status, VESK_HOST_BAD_ARGUMENT, 0, error.what());
        return VESK_HOST_BAD_ARGUMENT;
    } catch (const std::bad_alloc &) {
        fill(status, VESK_HOST_NO_MEMORY, 0, "out of memory (is an input far larger than intended?)");
        return VESK_HOST_NO_MEMORY;
    } catch (const std::exception &error) {
        fill(status, VESK_HOST_INPUT_ERROR, 0, error.what());
        return VESK_HOST_INPUT_ERROR;
    } catch (...) { // nothing else may cross the C boundary
        fill(status, VESK_HOST_BAD_ARGUMENT, 0, "an unexpected failure inside the host core");
        return VESK_HOST_BAD_ARGUMENT;
    }
}

void require(const void *pointer, const char *what) {
    if (pointer == nullptr) throw ArgumentError(std::string(what) + " is a null pointer");
}

UnitSystem unitsArgument(int32_t units) {
    if (units == VESK_HOST_UNITS_US) return UnitSystem::Us;
    if (units == VESK_HOST_UNITS_SI) return UnitSystem::Si;
    throw ArgumentError("units must be VESK_HOST_UNITS_US (0) or VESK_HOST_UNITS_SI (1), not " +
                        std::to_string(units));
}

std::unique_ptr<LibraryLevel> chosenLevel(const VeskHostRunOptions *options) {
    return levelOf(options == nullptr ? nullptr : options->earlier);
}

std::unique_ptr<LibraryLevel> levelOf(const VeskHostEarlierLevel *earlier) {
    if (earlier == nullptr) return nullptr;
    const VeskHostEarlierLevel &x = *earlier;
    return earlierLevel(EarlierExports{x.open, x.free, x.geterror, x.addbasin, x.getbasin, x.getbasinPrecip,
                                       x.getuhlength, x.getuhordinatevalue, x.execute});
}

std::size_t copyOut(const double *values, std::size_t count, double *out, std::size_t capacity) {
    const std::size_t copied = count < capacity ? count : capacity;
    if (copied > 0 && out != nullptr) std::memcpy(out, values, copied * sizeof(double));
    return count;
}

} // namespace vesk::host::c_interface

using namespace vesk::host;

extern "C" {

const char *vesk_host_version(void) { return VESK_HOST_VERSION; }

int32_t vesk_host_units_named(const char *name) {
    if (name == nullptr) return -2;
    const std::optional<UnitSystem> units = unitSystemNamed(name);
    if (!units) return -2;
    return *units == UnitSystem::Si ? VESK_HOST_UNITS_SI : VESK_HOST_UNITS_US;
}

VeskHostWarnings *vesk_host_warnings_new(void) { return new (std::nothrow) VeskHostWarnings(); }

void vesk_host_warnings_free(VeskHostWarnings *warnings) { delete warnings; }

size_t vesk_host_warnings_count(const VeskHostWarnings *warnings) {
    return warnings == nullptr ? 0 : warnings->items.size();
}

namespace {
const Warning *warningAt(const VeskHostWarnings *warnings, size_t index) {
    if (warnings == nullptr || index >= warnings->items.size()) return nullptr;
    return &warnings->items[index];
}
} // namespace

int32_t vesk_host_warning_cause(const VeskHostWarnings *warnings, size_t index) {
    const Warning *warning = warningAt(warnings, index);
    return warning == nullptr ? 0 : static_cast<int32_t>(warning->cause);
}

const char *vesk_host_warning_basin(const VeskHostWarnings *warnings, size_t index) {
    const Warning *warning = warningAt(warnings, index);
    return warning == nullptr ? "" : warning->basin.c_str();
}

const char *vesk_host_warning_text(const VeskHostWarnings *warnings, size_t index) {
    const Warning *warning = warningAt(warnings, index);
    return warning == nullptr ? "" : warning->text.c_str();
}

} // extern "C"
