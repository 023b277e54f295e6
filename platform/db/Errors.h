#pragma once

// Failure numbers of the data-access layer and of its provider.
namespace db::err {
constexpr long BadArgument = 3001;     // wrong type or out of range (a bookmark)
constexpr long NoCurrentRecord = 3021; // BOF or EOF, or the record was deleted
constexpr long NotAllowed = 3219;      // not allowed in this context
constexpr long NotUpdatable = 3251;    // the recordset is read-only
constexpr long ItemNotFound = 3265;    // no such field
constexpr long ObjectClosed = 3704;    // the object is closed
constexpr long ObjectOpen = 3705;      // the object is open
constexpr long ProviderNotFound = 3706;
constexpr long ConnectionUnusable = 3709;
constexpr long Provider = -2147467259;    // 0x80004005: the provider's general failure
constexpr long BadPassword = -2147217843; // 0x80040E4D
constexpr long Syntax = -2147217900;      // 0x80040E14
} // namespace db::err
