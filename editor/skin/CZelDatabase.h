#pragma once

#include <QHash>

// A keyed table whose insert replaces: the last definition read wins.
template <typename K, typename V>
class CZelDatabase
{
public:
    CZelDatabase() = default;
    virtual ~CZelDatabase() = default;

    void insert(const K &key, const V &value)
    {
        m_table.remove(key);
        m_table.insert(key, value);
    }
    bool contains(const K &key) const { return m_table.contains(key); }
    V value(const K &key) const { return m_table.value(key); }
    const V *find(const K &key) const
    {
        const auto it = m_table.constFind(key);
        return it == m_table.constEnd() ? nullptr : &it.value();
    }
    qsizetype count() const { return m_table.size(); }
    QList<K> keys() const { return m_table.keys(); }
    const QHash<K, V> &table() const { return m_table; }
    QHash<K, V> &table() { return m_table; }

private:
    QHash<K, V> m_table;
};
