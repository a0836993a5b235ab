#pragma once

#include <QMutex>
#include <QMutexLocker>

#include <memory>
#include <utility>
#include <vector>

// Values computed from shared resource documents, by a key that names the
// documents (QDomNode compares by identity) and what was computed. Every page
// reads the same few resource files, whose documents XmlResourceFile shares,
// so what is computed from them once serves every later page. Bounded for a
// process that reads many distinct files; safe to use from any thread.
template <typename Key, typename Value>
class DocumentMemo
{
public:
    // The value kept under `key`, or null.
    std::shared_ptr<const Value> find(const Key& key)
    {
        const QMutexLocker lock(&m_mutex);
        for (const auto& [known, value] : m_values) {
            if (known == key) {
                return value;
            }
        }
        return nullptr;
    }

    void keep(Key key, std::shared_ptr<const Value> value)
    {
        const QMutexLocker lock(&m_mutex);
        if (m_values.size() >= kMaxValues) {
            m_values.clear();
        }
        m_values.emplace_back(std::move(key), std::move(value));
    }

private:
    static constexpr size_t kMaxValues = 32;

    QMutex m_mutex;
    std::vector<std::pair<Key, std::shared_ptr<const Value>>> m_values;
};
