#pragma once

#include <cstddef>
#include <iterator>
#include <memory>

namespace lumo {

// Doubly linked list that owns its nodes. A node type carries its own `prev`
// and `next` pointers (the records are walked by those links everywhere in the
// processing), so addresses stay stable and removal is O(1). All allocation and
// release of nodes happens here.
template <typename Node>
class RecordList {
public:
    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    ~RecordList() { clear(); }

    Node* first() const { return head_; }
    Node* last() const { return tail_; }
    bool empty() const { return head_ == nullptr; }
    std::size_t size() const { return size_; }

    // Takes ownership and links the node at the end of the list.
    Node* append(std::unique_ptr<Node> owned)
    {
        Node* node = owned.release();
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

    Node* append() { return append(std::make_unique<Node>()); }

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
        delete node;
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
        while (head_) {
            Node* next = head_->next;
            delete head_;
            head_ = next;
        }
        tail_ = nullptr;
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
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace lumo
