#include "model/ObjectDefinition.h"

namespace NvScn {

CScnScnObjectDefinition::CScnScnObjectDefinition(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

}  // namespace NvScn
