#include "world/UnusedNumbers.h"

#include "platform/Archive.h"

QV_IMPLEMENT_SERIAL(UnusedNumbers, qv::Persistent, 1, false)

UnusedNumbers::UnusedNumbers(int count, int start, int ascending) {
    for (int i = 0; i < count; ++i) GiveBack(ascending ? start + i : start - i);
}

int UnusedNumbers::TakeLowest() {
    if (m_Numbers.empty()) return 0;
    int n = *m_Numbers.begin();
    m_Numbers.erase(m_Numbers.begin());
    return n;
}

void UnusedNumbers::GiveBack(int number) {
    m_Numbers.insert(number);
}

void UnusedNumbers::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(GetCount());
        for (int n : m_Numbers) ar.WriteInt(n);
        return;
    }
    ar.GetObjectSchema();
    int32_t count = ar.ReadInt();
    if (count > 0 && static_cast<size_t>(count) > ar.Remaining() / 4)
        ar.Fail(qv::ArchiveError::BadCount, "id pool of " + std::to_string(count) +
                                                " numbers with " + std::to_string(ar.Remaining()) +
                                                " bytes left");
    for (int32_t i = 0; i < count; ++i) GiveBack(ar.ReadInt());
}
