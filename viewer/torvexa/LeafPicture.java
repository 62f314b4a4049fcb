import java.awt.Canvas;
import java.awt.Color;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.Image;
import java.awt.Rectangle;
import java.awt.RenderingHints;
import java.awt.image.ImageObserver;
import java.util.ArrayList;
import java.util.List;

/**
 * The picture drawn in the view area. Shrink draws a picture at its own size when it
 * fits and scales a larger one down to fit, keeping its proportions; Stretch fills
 * the whole area. A picture that cannot be loaded is replaced by its file name and
 * comment, and a short message can take the picture's place.
 */
public class LeafPicture extends Canvas {
  private static final long serialVersionUID = 1L;
  /** Scale down to fit, never up. */
  public static final int SHRINK = 0;
  /** Fill the area, proportions ignored. */
  public static final int STRETCH = 1;
  /** Scale up or down to fit, proportions kept (thumbnails). */
  public static final int FIT = 2;

  private static final Color GROUND = new Color(0x20, 0x20, 0x20);
  private static final Color NOTE = new Color(0xE0, 0xE0, 0xE0);

  private Image image_;
  private String name_ = "";
  private String comment_ = "";
  private String message_ = "";
  private boolean missing_;
  private boolean stretch_;

  public LeafPicture() {
    setBackground(GROUND);
  }

  public void showImage(Image image, String name, String comment) {
    image_ = image;
    name_ = name;
    comment_ = comment;
    message_ = "";
    missing_ = false;
    repaint();
  }

  public void showMissing(String name, String comment) {
    image_ = null;
    name_ = name;
    comment_ = comment;
    message_ = "";
    missing_ = true;
    repaint();
  }

  public void showMessage(String message) {
    image_ = null;
    name_ = "";
    comment_ = "";
    message_ = message;
    missing_ = false;
    repaint();
  }

  public void setStretch(boolean stretch) {
    stretch_ = stretch;
    repaint();
  }

  public boolean isStretch() { return stretch_; }
  public boolean isMissing() { return missing_; }
  public String getMessage() { return message_; }
  public String getPictureName() { return name_; }
  public Image getImage() { return image_; }

  /** Where the picture is drawn inside this canvas, or null while there is none to draw. */
  public Rectangle getPictureBounds() {
    if (image_ == null || missing_) return null;
    int iw = image_.getWidth(this);
    int ih = image_.getHeight(this);
    if (iw <= 0 || ih <= 0) return null;
    return placePicture(iw, ih, getWidth(), getHeight(), stretch_ ? STRETCH : SHRINK);
  }

  /** The rectangle, centred in an area of aw x ah, that a picture of iw x ih takes in a mode. */
  public static Rectangle placePicture(int iw, int ih, int aw, int ah, int mode) {
    if (mode == STRETCH) return new Rectangle(0, 0, aw, ah);
    double scale = Math.min((double) aw / iw, (double) ah / ih);
    if (mode == SHRINK && iw <= aw && ih <= ah) scale = 1.0;
    int w = Math.max((int) Math.round(iw * scale), 1);
    int h = Math.max((int) Math.round(ih * scale), 1);
    return new Rectangle((aw - w) / 2, (ah - h) / 2, w, h);
  }

  /** Breaks text into lines no wider than width, at blanks where it can. */
  public static List<String> wrap(String text, FontMetrics metrics, int width) {
    List<String> lines = new ArrayList<String>();
    StringBuilder line = new StringBuilder();
    for (String word : text.split(" ")) {
      String candidate = line.length() == 0 ? word : line + " " + word;
      if (line.length() > 0 && metrics.stringWidth(candidate) > width) {
        lines.add(line.toString());
        line.setLength(0);
        line.append(word);
      } else {
        line.setLength(0);
        line.append(candidate);
      }
    }
    if (line.length() > 0) lines.add(line.toString());
    return lines;
  }

  @Override
  public void update(Graphics g) {
    paint(g);
  }

  @Override
  public void paint(Graphics g) {
    Graphics2D g2 = (Graphics2D) g;
    g2.setRenderingHint(RenderingHints.KEY_INTERPOLATION, RenderingHints.VALUE_INTERPOLATION_BILINEAR);
    g2.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setColor(GROUND);
    g.fillRect(0, 0, getWidth(), getHeight());
    Rectangle r = getPictureBounds();
    if (r != null) {
      g.drawImage(image_, r.x, r.y, r.width, r.height, this);
    } else if (missing_) {
      List<String> lines = new ArrayList<String>();
      lines.add(rmInfo.PICTURE_NOT_LOADED);
      lines.add(name_);
      if (!comment_.isEmpty()) {
        lines.add("");
        lines.add(comment_);
      }
      drawCentred(g, lines);
    } else if (!message_.isEmpty()) {
      List<String> lines = new ArrayList<String>();
      lines.add(message_);
      drawCentred(g, lines);
    }
  }

  private void drawCentred(Graphics g, List<String> paragraphs) {
    g.setFont(new Font("SansSerif", Font.PLAIN, 14));
    FontMetrics metrics = g.getFontMetrics();
    List<String> lines = new ArrayList<String>();
    for (String paragraph : paragraphs) {
      if (paragraph.isEmpty()) {
        lines.add("");
      } else {
        lines.addAll(wrap(paragraph, metrics, Math.max(getWidth() - 24, 40)));
      }
    }
    int lineHeight = metrics.getHeight();
    int y = (getHeight() - lines.size() * lineHeight) / 2 + metrics.getAscent();
    g.setColor(NOTE);
    for (String line : lines) {
      g.drawString(line, (getWidth() - metrics.stringWidth(line)) / 2, y);
      y += lineHeight;
    }
  }

  @Override
  public boolean imageUpdate(Image img, int flags, int x, int y, int w, int h) {
    if (img == image_ && (flags & (ImageObserver.ERROR | ImageObserver.ABORT)) != 0) {
      missing_ = true;
      repaint();
      return false;
    }
    return super.imageUpdate(img, flags, x, y, w, h);
  }
}
