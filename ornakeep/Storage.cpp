#include "Storage.h"

std::int32_t CStorage::Open(const char*) {
    return 0;
}

std::int32_t CStorage::Close() {
    return 0;
}

std::int32_t CStorage::WriteProfiles(_CARDPROFILES) {
    return 0;
}

std::int32_t CStorage::ReadProfiles(_CARDPROFILES&) {
    return 0;
}

std::int32_t CStorage::AttemptBACP(int&) {
    return 0;
}
