import java.awt.Color;
import java.awt.Graphics;
import java.awt.Panel;
import java.awt.Rectangle;

/**
 * The space the view area may take, with the view area inside it: the picture canvas
 * sized to the zoom level (a share of the space in each direction), centred, and a
 * soft drop shadow painted below and to the right of it.
 */
public class ShadowArea extends Panel {
  private static final long serialVersionUID = 1L;
  /** How far the shadow reaches beyond the view area; also kept free around it. */
  public static final int SHADOW = 8;

  private final LeafPicture picture_;
  private int zoom_ = 100;

  public ShadowArea(LeafPicture picture, Color frame) {
    picture_ = picture;
    setLayout(null);
    setBackground(frame);
    add(picture_);
  }

  public int getZoom() { return zoom_; }

  public void setZoom(int percent) {
    zoom_ = percent;
    doLayout();
    repaint();
  }

  /** The largest view area this panel can hold: its size less the shadow margin on each side. */
  public Rectangle getMaximumViewArea() {
    return new Rectangle(SHADOW, SHADOW, Math.max(getWidth() - 2 * SHADOW, 1),
        Math.max(getHeight() - 2 * SHADOW, 1));
  }

  /** The view area at the current zoom, centred in the largest one. */
  public Rectangle getViewArea() {
    Rectangle max = getMaximumViewArea();
    int w = Math.max(max.width * zoom_ / 100, 1);
    int h = Math.max(max.height * zoom_ / 100, 1);
    return new Rectangle(max.x + (max.width - w) / 2, max.y + (max.height - h) / 2, w, h);
  }

  @Override
  public void doLayout() {
    picture_.setBounds(getViewArea());
  }

  @Override
  public void paint(Graphics g) {
    Rectangle view = getViewArea();
    g.setColor(getBackground());
    g.fillRect(0, 0, getWidth(), getHeight());
    // Darker bands towards the picture give the shadow a soft edge.
    for (int i = SHADOW; i >= 1; i--) {
      int strength = 150 * (SHADOW - i + 1) / SHADOW;
      g.setColor(blend(getBackground(), Color.BLACK, strength));
      g.fillRect(view.x + i / 2 + 2, view.y + i / 2 + 2, view.width + i, view.height + i);
    }
  }

  private static Color blend(Color base, Color towards, int amount) {
    int keep = 255 - amount;
    return new Color((base.getRed() * keep + towards.getRed() * amount) / 255,
        (base.getGreen() * keep + towards.getGreen() * amount) / 255,
        (base.getBlue() * keep + towards.getBlue() * amount) / 255);
  }
}
