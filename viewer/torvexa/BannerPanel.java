import java.awt.Canvas;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.Image;
import java.awt.RenderingHints;

/**
 * The title strip across the top: the photo-album badge on the left, the viewer's
 * name, and on the right which picture is shown (and a note when the album lists
 * more pictures than the viewer shows).
 */
public class BannerPanel extends Canvas {
  private static final long serialVersionUID = 1L;
  private static final int HEIGHT = 48;

  private final Image badge_;
  private final Color text_;
  private String position_ = "";
  private String note_ = "";

  public BannerPanel(Image badge, Color frame, Color text) {
    badge_ = badge;
    text_ = text;
    setBackground(frame);
  }

  public void setPosition(String position) {
    position_ = position;
    repaint();
  }

  public void setNote(String note) {
    note_ = note;
    repaint();
  }

  public String getPosition() { return position_; }
  public String getNote() { return note_; }

  @Override
  public Dimension getPreferredSize() {
    return new Dimension(400, HEIGHT);
  }

  @Override
  public void paint(Graphics g) {
    Graphics2D g2 = (Graphics2D) g;
    g2.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    int x = 4;
    if (badge_ != null && g.drawImage(badge_, x, (HEIGHT - 40) / 2, this)) {
      x += Math.max(badge_.getWidth(this), 0) + 12;
    } else {
      x += 212;
    }
    g.setColor(text_);
    g.setFont(new Font("SansSerif", Font.BOLD, 18));
    FontMetrics big = g.getFontMetrics();
    int baseline = (HEIGHT + big.getAscent() - big.getDescent()) / 2;
    g.drawString(rmInfo.PRODUCT_NAME, x, baseline);

    g.setFont(new Font("SansSerif", Font.PLAIN, 13));
    FontMetrics small = g.getFontMetrics();
    int right = getWidth() - 8;
    g.drawString(position_, right - small.stringWidth(position_), baseline);
    if (!note_.isEmpty()) {
      int noteX = right - small.stringWidth(position_) - 24 - small.stringWidth(note_);
      g.drawString(note_, Math.max(noteX, x + big.stringWidth(rmInfo.PRODUCT_NAME) + 24), baseline);
    }
  }
}
