#include "AdminBase.h"

#include "AHAdminObject.h"
#include "MBAdminObject.h"

#include <Exceptions/Exceptions.h>

namespace Orvane::Metabase {

boost::shared_ptr<IAdminBase> CreateAdminObject()
{
    try {
        return boost::shared_ptr<IAdminBase>(new CMBAdminObject());
    } catch (const Exceptions::CreateComObjectError&) {
    }
    try {
        return boost::shared_ptr<IAdminBase>(new CAHAdminObject());
    } catch (const Exceptions::CreateComObjectError&) {
    }
    return boost::shared_ptr<IAdminBase>();
}

}
