#include "library_errors.h"

#include "veskdll133.h"

namespace vesk::host {

namespace {

struct CodeText {
    int32_t code;
    const char *name;
    const char *sentence;
};

constexpr CodeText kCodeTexts[] = {
    {VESK_OK, "VESK_OK", "no failure is pending."},
    {VESK_ERR_BASIN_NOT_FOUND, "VESK_ERR_BASIN_NOT_FOUND", "no basin is stored under that name."},
    {VESK_ERR_UH_FIT, "VESK_ERR_UH_FIT",
     "the unit hydrograph cannot be built for this basin: check that the area and the slope are above 0, "
     "uhTimeStep is at least 1 minute and fine enough for the basin's time to peak, every value is a finite "
     "number, and the given widths and coefficients leave room for the hydrograph's tail."},
    {VESK_ERR_NO_MEMORY, "VESK_ERR_NO_MEMORY", "the library ran out of memory."},
    {VESK_ERR_FILE_OPEN, "VESK_ERR_FILE_OPEN", "the basin file cannot be opened or holds no basin name."},
    {VESK_ERR_NULL, "VESK_ERR_NULL", "the library was not open, or a basin name or record was missing."},
    {VESK_ERR_DUPLICATE_BASIN, "VESK_ERR_DUPLICATE_BASIN",
     "a basin of the same name (letter case does not count) is already loaded; give each basin file its "
     "own name."},
    {VESK_ERR_VERSION_UNCONFIRMED, "VESK_ERR_VERSION_UNCONFIRMED",
     "the library did not accept this program's version: the installed library is of another version than "
     "the one vesk was built with."},
};

const CodeText *find(int32_t code) {
    for (const CodeText &text : kCodeTexts)
        if (text.code == code) return &text;
    return nullptr;
}

} // namespace

const char *errorCodeName(int32_t code) {
    const CodeText *text = find(code);
    return text ? text->name : "unknown error code";
}

const char *errorCodeSentence(int32_t code) {
    const CodeText *text = find(code);
    return text ? text->sentence : "the library reported a code it does not document.";
}

LibraryError::LibraryError(const std::string &doing, int32_t code)
    : std::runtime_error(doing + ": the library refused with " + errorCodeName(code) + " (" +
                         std::to_string(code) + "): " + errorCodeSentence(code)),
      code_(code) {}

} // namespace vesk::host
