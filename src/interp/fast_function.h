// Fast functions: script functions compiled into operations on unboxed ints and bools.
//
// Functions that only compute with ints and bools (recursions, counters, arithmetic helpers)
// spend most of their time in the tree walk itself: a dispatch per node, a Value with a text
// and an array pointer built and destroyed per expression, a variable record per parameter.
// Preparation therefore compiles every script function whose body stays within that kind of
// code into a tree of FastOps: each op holds the handler that runs it, its operands, and
// what it needs for error texts. A value is a type and an int (FastValue), and the parameters
// live in a plain array of them, one frame per call.
//
// A function is compiled when its body uses only blocks, if/else, while, do-while, return,
// int and bool constants, its own parameters without an index, the operators, assignments,
// "++"/"--" and compound assignments to parameters, and calls of other compiled functions with
// as many arguments as they have parameters. Anything else (declarations, texts, arrays,
// globals, built-ins, for loops) keeps the whole function on the tree walk; its while and
// do-while loops may still be compiled on their own (see compileFastLoops). A call from the
// tree walk runs the compiled body when every argument is an int or a bool; with a text or an
// array it binds variable records and walks the tree as before. The ops do what the tree walk
// does, in the same order, with the same error texts and positions, so which path ran is not
// observable.
#pragma once

#include "syntax_tree.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace orvane {

class TCInterpreterEx;

// An int, a bool (its byte) or no value (typ 0).
struct FastValue {
    std::int32_t typ = 0;
    std::int32_t value = 0;
};

struct FastOp;
struct FastFunction;
using FastHandler = FastValue (*)(TCInterpreterEx& interpreter, const FastOp& op, FastValue* frame);

enum class FastOpKind {
    constant,        // typ and value
    parameter,       // the parameter in slot `value`
    binary,          // first `symbol` second
    negation,        // !first
    call,            // callee(items...)
    block,           // items, up to the first return
    singleStatement, // a block of one statement: first
    ifElse,          // if (first) second else third
    whileLoop,       // while (first) second
    doLoop,          // do first while (second)
    returning,       // return first
    assignment,      // slot `value` = first
    step,            // slot `value` ++ or --
    compound,        // slot `value` symbol= first
};

struct FastOp {
    FastHandler run = nullptr;
    const tNode* node = nullptr; // the statement or expression: positions, names, symbol
    std::int32_t typ = 0;        // a constant's type
    std::int32_t value = 0;      // a constant's value or a parameter's slot
    // A constant or a parameter: its operator reads it in place instead of running it.
    bool leaf = false;
    bool isParameter = false;
    bool endsBlock = false; // a return statement
    const FastOp* first = nullptr;
    const FastOp* second = nullptr;
    const FastOp* third = nullptr;
    std::vector<const FastOp*> items; // a block's statements, a call's arguments
    const FastFunction* callee = nullptr;
    std::int32_t calleeNumber = 0; // the callee's entry in the function table
};

struct FastFunction {
    const FastOp* body = nullptr;
    std::int32_t parameterCount = 0; // a loop: the number of its variables
    std::deque<FastOp> ops;          // owns every op of the body
    // A loop: the first name node of each variable it uses, in slot order.
    std::vector<const tNode*> names;
};

// A while or do-while loop of a tree-walked function, compiled.
struct FastLoop {
    const tNode* loop;
    std::unique_ptr<FastFunction> compiled;
};

// The handler of each kind of op; operators have one handler each.
FastHandler fastHandler(FastOpKind kind, std::int32_t symbol);

// Compiles every function of the interpreter's table that qualifies, setting its `fast`
// member; the others keep none. Called when the table is complete.
void compileFastFunctions(TCInterpreterEx& interpreter);

// Compiles the outermost loops of the other script functions whose condition and body qualify,
// with the variables they use in place of parameters. At run time a loop takes its compiled
// form when every one of those variables is then an int or bool scalar: a loop cannot declare
// or call anything that could change which records its names stand for or their types, so the
// values are copied into slots at the start and back when the loop ends, also by an error.
// Called after compileFastFunctions.
std::vector<FastLoop> compileFastLoops(const TCInterpreterEx& interpreter);

} // namespace orvane
