// vesk_addbasin with a fuzzed record and name, then steps with fuzzed rain:
// whatever is stored with code 0 from modest numbers gives finite outflow.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    fuzz::openReady();
    BasinInput record = fuzz::fuzzedRecord(data);
    const bool recordModest = fuzz::modest(record);
    const std::string name = data.ConsumeRandomLengthString(300);
    vesk_addbasin(&record, name.c_str());
    if (vesk_geterror() == VESK_OK) {
        fuzz::checkStoredLength(name.c_str());
        fuzz::stepAndCheck(data, name.c_str(), recordModest);
    }
    vesk_free();
    return 0;
}
