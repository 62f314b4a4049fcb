import java.awt.Canvas;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.Image;
import java.awt.Rectangle;
import java.awt.RenderingHints;
import java.awt.event.MouseEvent;
import java.awt.event.MouseListener;
import java.awt.image.ImageObserver;

/**
 * One picture's thumbnail in the album index. Clicking it asks the applet to show
 * that picture; the picture shown is framed in the text colour.
 */
public class albumPictureButton extends Canvas implements MouseListener {
  private static final long serialVersionUID = 1L;
  private static final int MARGIN = 3;
  private static final Color GROUND = new Color(0x30, 0x30, 0x30);

  private final PhotoAlbum album_;
  private final int position_;
  private final Image image_;
  private final Color highlight_;
  private boolean selected_;
  private boolean failed_;

  public albumPictureButton(PhotoAlbum album, int position, Image image, Color highlight) {
    album_ = album;
    position_ = position;
    image_ = image;
    highlight_ = highlight;
    failed_ = image == null;
    addMouseListener(this);
  }

  public int getPosition() { return position_; }
  public boolean isSelected() { return selected_; }

  public void setSelected(boolean selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    repaint();
  }

  @Override
  public Dimension getPreferredSize() {
    return new Dimension(48, 48);
  }

  @Override
  public void update(Graphics g) {
    paint(g);
  }

  @Override
  public void paint(Graphics g) {
    int w = getWidth();
    int h = getHeight();
    g.setColor(selected_ ? highlight_ : GROUND);
    g.fillRect(0, 0, w, h);
    Rectangle inner = new Rectangle(MARGIN, MARGIN, w - 2 * MARGIN, h - 2 * MARGIN);
    g.setColor(GROUND);
    g.fillRect(inner.x, inner.y, inner.width, inner.height);
    int iw = failed_ ? -1 : image_.getWidth(this);
    int ih = failed_ ? -1 : image_.getHeight(this);
    if (iw > 0 && ih > 0) {
      Rectangle r = LeafPicture.placePicture(iw, ih, inner.width, inner.height, LeafPicture.FIT);
      Graphics2D g2 = (Graphics2D) g;
      g2.setRenderingHint(RenderingHints.KEY_INTERPOLATION, RenderingHints.VALUE_INTERPOLATION_BILINEAR);
      g.drawImage(image_, inner.x + r.x, inner.y + r.y, r.width, r.height, this);
    } else if (failed_) {
      g.setColor(Color.LIGHT_GRAY);
      g.drawString("?", w / 2 - 3, h / 2 + 5);
    }
  }

  @Override
  public boolean imageUpdate(Image img, int flags, int x, int y, int w, int h) {
    if ((flags & (ImageObserver.ERROR | ImageObserver.ABORT)) != 0) {
      failed_ = true;
      repaint();
      return false;
    }
    return super.imageUpdate(img, flags, x, y, w, h);
  }

  @Override
  public void mouseClicked(MouseEvent e) {
    album_.showPicture(position_);
  }

  @Override public void mousePressed(MouseEvent e) {}
  @Override public void mouseReleased(MouseEvent e) {}
  @Override public void mouseEntered(MouseEvent e) {}
  @Override public void mouseExited(MouseEvent e) {}
}
