#pragma once

#include "platform/html/parser/node_tree.h"

namespace veltrano::html::parser {

// Follows the tree while the tree builder builds it, for work done while a document streams in
// (such as taking out each table as soon as it is closed).
//
// Every element is reported inserted once, when it first gets a parent (its parent is then in
// the tree already); later moves by the adoption agency are not reported. Each time an element
// comes off the stack of open elements, whatever took it off, it is reported popped: once for
// every element but the head, which the HTML Standard pushes back for a few tags after it was
// closed. Once an element and every element inside it have been popped, nothing changes inside
// it any more, with two exceptions: the head, and a selectedcontent element, whose children
// are replaced by copies of the selected option's when that option is popped. The copies never
// were open: complete when made, they are reported as a parse of them would be, each inserted
// before the copies inside it and popped after them.
class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    // Just inserted into the tree (its parent is set).
    virtual void elementInserted(NodeId element) = 0;
    // Taken off the stack of open elements, by any path.
    virtual void elementPopped(NodeId element) = 0;
};

}  // namespace veltrano::html::parser
