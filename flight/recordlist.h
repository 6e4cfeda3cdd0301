#pragma once

#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "nodepoison.h"

namespace lumo {

// Doubly linked list that owns its nodes. A node type carries its own `prev`
// and `next` pointers (the records are walked by those links everywhere in the
// processing), so addresses stay stable and removal is O(1). All allocation and
// release of nodes happens here.
//
// Nodes live in large blocks owned by the list, handed out in the order of
// appending: a list filled from a file lies in memory in file order, a walk
// reads memory forwards, and a list of millions of records costs a few dozen
// allocations instead of one per record. A removed node's slot is reused by a
// later append; the blocks themselves are freed only by clear() and by the
// destructor.
template <typename Node>
class RecordList {
    static_assert(std::is_trivially_destructible_v<Node>, "nodes are released with their block, unnamed");

public:
    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    ~RecordList() { releaseBlocks(); }

    Node* first() const { return head_; }
    Node* last() const { return tail_; }
    bool empty() const { return head_ == nullptr; }
    std::size_t size() const { return size_; }

    // Links a copy of the node at the end of the list; the copy is the one in
    // the list.
    Node* append(std::unique_ptr<Node> owned) { return link(::new (slot()) Node(std::move(*owned))); }
    Node* append(const Node& value) { return link(::new (slot()) Node(value)); }
    Node* append() { return link(blank(slot())); }

    // Unlinks and releases the node; returns the node that followed it.
    Node* remove(Node* node)
    {
        Node* following = node->next;
        if (node->prev)
            node->prev->next = node->next;
        else
            head_ = node->next;
        if (node->next)
            node->next->prev = node->prev;
        else
            tail_ = node->prev;
        --size_;
        // The slot keeps a link to the next free one in its `next`.
        node->next = free_;
        free_ = node;
        poisonNode(node, sizeof(Node));
        return following;
    }

    // Removes every node for which pred(node) is true, in one pass.
    template <typename Pred>
    std::size_t removeIf(Pred pred)
    {
        std::size_t removed = 0;
        for (Node* n = head_; n;) {
            if (pred(*n)) {
                n = remove(n);
                ++removed;
            } else {
                n = n->next;
            }
        }
        return removed;
    }

    void clear()
    {
        releaseBlocks();
        head_ = tail_ = nullptr;
        size_ = 0;
    }

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Node;
        using difference_type = std::ptrdiff_t;
        using pointer = Node*;
        using reference = Node&;

        explicit Iterator(Node* n = nullptr) : node_(n) {}
        Node& operator*() const { return *node_; }
        Node* operator->() const { return node_; }
        Iterator& operator++()
        {
            node_ = node_->next;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator old = *this;
            node_ = node_->next;
            return old;
        }
        bool operator==(const Iterator& other) const = default;

    private:
        Node* node_;
    };

    Iterator begin() const { return Iterator(head_); }
    Iterator end() const { return Iterator(nullptr); }

private:
    // The first block is small, so that the many short lists (winds, tests,
    // surface periods) stay cheap; each further block doubles up to about
    // 1 MiB, which bounds the unused tail of the last block.
    static constexpr std::size_t FirstBlockNodes = 16;
    static constexpr std::size_t MaxBlockNodes = (std::size_t{1} << 20) / sizeof(Node) > FirstBlockNodes
        ? (std::size_t{1} << 20) / sizeof(Node)
        : FirstBlockNodes;

    struct Block {
        Node* nodes;
        std::size_t capacity;
    };

    // A value-initialised node in the storage. Copying a blank node's bytes
    // makes the compiler store a few wide registers where it would otherwise
    // start a string instruction, a third of the decoder's time per line; the
    // copy creates the node, which is of a trivially copyable type.
    static Node* blank(void* storage)
    {
        if constexpr (std::is_trivially_copyable_v<Node>) {
            static const Node blankNode{};
            std::memcpy(storage, &blankNode, sizeof(Node));
            return std::launder(static_cast<Node*>(storage));
        } else {
            return ::new (storage) Node();
        }
    }

    Node* link(Node* node)
    {
        node->prev = tail_;
        node->next = nullptr;
        if (tail_)
            tail_->next = node;
        else
            head_ = node;
        tail_ = node;
        ++size_;
        return node;
    }

    // Storage for one node: a released slot, else the next unused one of the
    // last block, else a new block. Throws std::bad_alloc like `new`.
    void* slot()
    {
        if (free_) {
            Node* n = free_;
            unpoisonNode(n, sizeof(Node));
            free_ = n->next;
            return n;
        }
        if (blocks_.empty() || used_ == blocks_.back().capacity) {
            const std::size_t capacity = blocks_.empty()
                ? FirstBlockNodes
                : (blocks_.back().capacity * 2 < MaxBlockNodes ? blocks_.back().capacity * 2 : MaxBlockNodes);
            if (blocks_.size() == blocks_.capacity()) // so that the push_back below cannot throw
                blocks_.reserve(2 * blocks_.size() + 8);
            Node* nodes = std::allocator<Node>().allocate(capacity);
            blocks_.push_back(Block{nodes, capacity});
            used_ = 0;
        }
        return blocks_.back().nodes + used_++;
    }

    void releaseBlocks()
    {
        for (const Block& b : blocks_) {
            unpoisonNode(b.nodes, b.capacity * sizeof(Node));
            std::allocator<Node>().deallocate(b.nodes, b.capacity);
        }
        blocks_.clear();
        used_ = 0;
        free_ = nullptr;
    }

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    std::size_t size_ = 0;
    std::vector<Block> blocks_;
    std::size_t used_ = 0;   // nodes handed out from the last block
    Node* free_ = nullptr;   // released slots, chained through `next`
};

} // namespace lumo
