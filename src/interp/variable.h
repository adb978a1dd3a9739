// tVariable, the record of a variable or parameter, and Value, the result of an evaluation.
//
// A variable stack is a singly linked chain of tVariable records represented by its
// first record (null is the empty stack). Records never own each other: every record
// lives in the interpreter's RecordPool (see record_pool.h), which frees the records of
// a call when the call ends. Scalars keep their one value inline; arrays keep slots
// 0..n in a vector. A bool is one byte (stored in intValue as 0..255).
//
// A Value is what an expression or a built-in hands back: a type, an inline scalar
// and, for a whole array, a private copy of the array record.
#pragma once

#include "c_keys.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

// Declared arrays start with this many elements (slots 0..100).
inline constexpr std::int32_t kDeclaredArraySize = 100;

struct tVariable {
    std::string name;
    std::int32_t typ = ttGenTypeInt;
    bool isArray = false;
    std::int32_t arraySize = 0;
    std::int32_t intValue = 0;            // an int scalar, or a bool scalar's byte
    std::string stringValue;              // a string scalar
    std::vector<std::int32_t> intSlots;   // int and bool arrays
    std::vector<std::string> stringSlots; // string arrays
    tVariable* next = nullptr;
    // The frame slot that holds this record while its activation runs (-1: none, as for
    // globals, results and a built-in's parameters).
    std::int32_t frameSlot = -1;

    // Number of storage slots (1 for a scalar).
    std::size_t slotCount() const;
    // The slot `index_` addresses (-1 means slot 0); raises the index error outside
    // 0..arraySize for an array and outside -1..0 for a scalar.
    std::int32_t& intAt(std::int32_t index_) {
        if (!isArray && (index_ == -1 || index_ == 0))
            return intValue;
        return intSlot(index_);
    }
    std::string& textAt(std::int32_t index_) {
        if (!isArray && (index_ == -1 || index_ == 0))
            return stringValue;
        return textSlot(index_);
    }
    void resetTo(std::int32_t type);
    void copyValueFrom(const tVariable& other); // everything but name and next

  private:
    std::int32_t& intSlot(std::int32_t index_);
    std::string& textSlot(std::int32_t index_);
};

struct Value {
    std::int32_t typ = 0; // 0: no value
    std::int32_t intValue = 0;
    std::string text;
    std::shared_ptr<const tVariable> array; // a whole array (slots and size)

    bool hasValue() const { return typ != 0; }
    bool isArray() const { return array != nullptr; }
    // Truth of the first byte of the value's storage.
    bool isTrue() const;
};

// What an operator sees of a value: a whole array stands for its slot 0, as index -1 does
// everywhere else; any other value is itself.
Value slotZeroOf(Value value);

Value generateIntData(std::int32_t int_);
Value generateBoolData(bool bool_);
Value generateStringData(std::string_view str);
// The default value of a type; no value for other type codes.
Value newDefaultData(std::int32_t typ);

} // namespace orvane
