#include "items/Money.h"

#include <algorithm>
#include <cstdint>

#include "platform/Archive.h"
#include "platform/Saturate.h"
#include "structures/Looks.h"

QV_IMPLEMENT_SERIAL(Money, Object, 1, true)

Money::Money(const std::string& name) : Object(name) {
    m_iLightSampling = 1;
    WearLook(*this, {kBitmapItemGround + kItemCoins, 32, 24, 16, 16, 1, 1});
    m_bMoveable = 1;
    m_iValue = 1;
    m_iWeight = 0;
    m_bStackable = 1;
    m_iBulkNum = 0;
}

void Money::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    m_bStackable = 1;
}

int Money::GetWeight() {
    const int64_t weight = int64_t{m_iWeight} * m_iBulkNum;
    return qv::ClampToInt32(weight);
}
