#include "support/sealed_record.h"

#include "engine/records/record_seal.h"

bool SealHandWrittenRecord(const std::string& path) { return SealRecord(path); }
