#pragma once
// What the player window needs of the playlist window.
namespace kestrafon {

class PlaylistWindowLink {
 public:
  virtual ~PlaylistWindowLink() = default;
  virtual bool Loaded() const = 0;
  virtual void Show() = 0;    // loads it first when it is not loaded
  virtual void Unload() = 0;  // nothing when it is not loaded
  virtual void SetVisible(bool visible) = 0;
  virtual void SetTopMost(bool topMost) = 0;
};

}  // namespace kestrafon
