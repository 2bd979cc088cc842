#include "model/InsertionObject.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kSizeAxisEntries[] = {{kScnSizeXAxis, "XAxis"}, {kScnSizeYAxis, "YAxis"}, {kScnSizeZAxis, "ZAxis"}};

// The item at index of an array of count items, null for an index out of range.
template <class T>
T* itemAt(T* items, int32_t count, int32_t index)
{
    return index >= 0 && index < count ? items + index : nullptr;
}

template <class T>
void storeAt(T* items, int32_t count, int32_t index, const T* value)
{
    if (T* item = itemAt(items, count, index)) {
        storeIfGiven(*item, value);
    }
}

}  // namespace

const LabelTable kSizeAxes(kSizeAxisEntries);

CScnInsertionObject::CScnInsertionObject(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

const CScnVector2D* CScnInsertionObject::getAxesPosition(int32_t index)
{
    return itemAt(mAxes, kAxesCount, index);
}

void CScnInsertionObject::setAxesPosition(int32_t index, const CScnVector2D* position)
{
    storeAt(mAxes, kAxesCount, index, position);
}

const CScnVector2D* CScnInsertionObject::getPerspectiveToolPosition(int32_t index)
{
    return itemAt(mTool, kToolCount, index);
}

void CScnInsertionObject::setPerspectiveToolPosition(int32_t index, const CScnVector2D* position)
{
    storeAt(mTool, kToolCount, index, position);
}

const CScnVector* CScnInsertionObject::getReperePosition(int32_t index)
{
    return itemAt(mRepere, kRepereCount, index);
}

void CScnInsertionObject::setReperePosition(int32_t index, const CScnVector* position)
{
    storeAt(mRepere, kRepereCount, index, position);
}

XIXMLElement* CScnInsertionObject::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnInsertionObject::putInXML", kReplaceExisting);
}

bool CScnInsertionObject::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnInsertionObject::initWithXML", kNamedOrChild);
}

}  // namespace NvScn
