#include "player/PlaylistQueue.h"

void PlaylistQueue::append(CTwoStrings entry)
{
    entries_.push_back(std::move(entry));
}

bool PlaylistQueue::addLocation(const std::string&)
{
    return false;
}

bool PlaylistQueue::loadPlaylist(const std::string&)
{
    return false;
}

bool PlaylistQueue::save(const std::string&, const std::string&, std::string& error) const
{
    error = "not available";
    return false;
}

std::optional<CTwoStrings> PlaylistQueue::takeFirst()
{
    if (entries_.empty())
        return std::nullopt;
    CTwoStrings first = std::move(entries_.front());
    entries_.erase(entries_.begin());
    return first;
}

bool PlaylistQueue::moveToFront(const std::string&)
{
    return false;
}

bool PlaylistQueue::remove(const std::string&)
{
    return false;
}

void PlaylistQueue::clear()
{
    entries_.clear();
}

bool PlaylistQueue::empty() const
{
    return entries_.empty();
}

std::size_t PlaylistQueue::size() const
{
    return entries_.size();
}

const std::vector<CTwoStrings>& PlaylistQueue::entries() const
{
    return entries_;
}
