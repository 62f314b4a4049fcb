import java.awt.BorderLayout;
import java.awt.Checkbox;
import java.awt.CheckboxGroup;
import java.awt.Choice;
import java.awt.Color;
import java.awt.FlowLayout;
import java.awt.Font;
import java.awt.GridLayout;
import java.awt.Label;
import java.awt.Panel;
import java.awt.event.ItemEvent;
import java.awt.event.ItemListener;

/**
 * The SIZE choice (Shrink, the default, or Stretch) and the view-area zoom (25%, 50%,
 * 75% or 100% of the space the view area may take), applied to the view area.
 */
public class AlbumControlPanel extends Panel implements ItemListener {
  private static final long serialVersionUID = 1L;
  public static final int[] ZOOM_LEVELS = {25, 50, 75, 100};

  private final AlbumLeaf leaf_;
  private final CheckboxGroup size_ = new CheckboxGroup();
  private final Checkbox shrink_;
  private final Checkbox stretch_;
  private final Choice zoom_ = new Choice();

  public AlbumControlPanel(AlbumLeaf leaf, Color frame, Color text) {
    leaf_ = leaf;
    setBackground(frame);
    setForeground(text);
    shrink_ = new Checkbox(rmInfo.SHRINK, size_, true);
    stretch_ = new Checkbox(rmInfo.STRETCH, size_, false);
    for (int level : ZOOM_LEVELS) zoom_.add(level + "%");
    zoom_.select(ZOOM_LEVELS.length - 1);
    shrink_.addItemListener(this);
    stretch_.addItemListener(this);
    zoom_.addItemListener(this);

    Font heading = new Font("SansSerif", Font.BOLD, 12);
    Label sizeLabel = new Label(rmInfo.SIZE_HEADING);
    sizeLabel.setFont(heading);
    Label zoomLabel = new Label(rmInfo.ZOOM_HEADING);
    zoomLabel.setFont(heading);

    Panel column = new Panel(new GridLayout(0, 1, 0, 2));
    column.setBackground(frame);
    column.add(sizeLabel);
    column.add(leftAligned(shrink_, frame));
    column.add(leftAligned(stretch_, frame));
    column.add(zoomLabel);
    column.add(zoom_);
    setLayout(new BorderLayout());
    add(column, BorderLayout.NORTH);
  }

  private static Panel leftAligned(Checkbox box, Color frame) {
    Panel holder = new Panel(new FlowLayout(FlowLayout.LEFT, 0, 0));
    holder.setBackground(frame);
    holder.add(box);
    return holder;
  }

  public boolean isStretch() { return stretch_.getState(); }

  public int getZoom() { return ZOOM_LEVELS[Math.max(zoom_.getSelectedIndex(), 0)]; }

  public Checkbox getShrinkBox() { return shrink_; }
  public Checkbox getStretchBox() { return stretch_; }
  public Choice getZoomChoice() { return zoom_; }

  /** Selects Stretch (true) or Shrink (false) and applies it, as a click on the box does. */
  public void chooseStretch(boolean stretch) {
    size_.setSelectedCheckbox(stretch ? stretch_ : shrink_);
    leaf_.setStretch(stretch);
  }

  /** Selects a zoom level (one of ZOOM_LEVELS) and applies it; other values are ignored. */
  public void chooseZoom(int percent) {
    for (int i = 0; i < ZOOM_LEVELS.length; i++) {
      if (ZOOM_LEVELS[i] != percent) continue;
      zoom_.select(i);
      leaf_.setZoom(percent);
    }
  }

  @Override
  public void itemStateChanged(ItemEvent e) {
    if (e.getSource() == zoom_) {
      leaf_.setZoom(getZoom());
    } else {
      leaf_.setStretch(isStretch());
    }
  }
}
