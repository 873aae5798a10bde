// Texts of database statuses.
#include "host/db/status.h"

namespace host::db {

const char* statusText(Status s) {
    switch (s) {
    case Status::Ok: return "eOk";
    case Status::NullObjectId: return "eNullObjectId";
    case Status::WasErased: return "eWasErased";
    case Status::OnLockedLayer: return "eOnLockedLayer";
    case Status::WrongObjectType: return "eWrongObjectType";
    case Status::WasOpenForWrite: return "eWasOpenForWrite";
    case Status::WasOpenForRead: return "eWasOpenForRead";
    case Status::NotOpenForWrite: return "eNotOpenForWrite";
    case Status::KeyNotFound: return "eKeyNotFound";
    case Status::DuplicateKey: return "eDuplicateKey";
    case Status::InvalidInput: return "eInvalidInput";
    case Status::RegAppNotFound: return "eRegAppNotFound";
    case Status::AlreadyInDb: return "eAlreadyInDb";
    case Status::NotInDatabase: return "eNotInDatabase";
    case Status::WrongDatabase: return "eWrongDatabase";
    case Status::InvalidIndex: return "eInvalidIndex";
    case Status::NotApplicable: return "eNotApplicable";
    case Status::FileError: return "eFileError";
    case Status::UndoNotAvailable: return "eUndoNotAvailable";
    }
    return "eUnknownStatus";
}

}  // namespace host::db
