import java.awt.Color;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.Image;
import java.awt.Panel;
import java.awt.RenderingHints;
import java.util.List;

/**
 * The view area: the picture (inside its shadowed, zoomable space) with the picture's
 * comment written underneath it.
 */
public class AlbumLeaf extends Panel {
  private static final long serialVersionUID = 1L;
  private static final int COMMENT_HEIGHT = 64;
  private static final Font COMMENT_FONT = new Font("SansSerif", Font.PLAIN, 14);

  private final LeafPicture picture_ = new LeafPicture();
  private final ShadowArea shadow_;
  private String comment_ = "";

  public AlbumLeaf(Color frame, Color text) {
    setLayout(null);
    setBackground(frame);
    setForeground(text);
    shadow_ = new ShadowArea(picture_, frame);
    add(shadow_);
  }

  public void showPicture(Image image, String name, String comment) {
    picture_.showImage(image, name, comment);
    setComment(comment);
  }

  public void showMissing(String name, String comment) {
    picture_.showMissing(name, comment);
    setComment(comment);
  }

  public void showMessage(String message) {
    picture_.showMessage(message);
    setComment("");
  }

  public void setStretch(boolean stretch) { picture_.setStretch(stretch); }
  public void setZoom(int percent) { shadow_.setZoom(percent); }

  public String getComment() { return comment_; }
  public LeafPicture getLeafPicture() { return picture_; }
  public ShadowArea getShadowArea() { return shadow_; }

  private void setComment(String comment) {
    comment_ = comment;
    repaint(0, getHeight() - COMMENT_HEIGHT, getWidth(), COMMENT_HEIGHT);
  }

  @Override
  public Dimension getPreferredSize() {
    return new Dimension(400, 300);
  }

  @Override
  public void doLayout() {
    shadow_.setBounds(0, 0, getWidth(), Math.max(getHeight() - COMMENT_HEIGHT, 1));
    shadow_.doLayout();
  }

  @Override
  public void paint(Graphics g) {
    int top = getHeight() - COMMENT_HEIGHT;
    g.setColor(getBackground());
    g.fillRect(0, top, getWidth(), COMMENT_HEIGHT);
    ((Graphics2D) g).setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
        RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setFont(COMMENT_FONT);
    g.setColor(getForeground());
    FontMetrics metrics = g.getFontMetrics();
    List<String> lines = LeafPicture.wrap(comment_, metrics, Math.max(getWidth() - 16, 40));
    int y = top + 4 + metrics.getAscent();
    for (String line : lines) {
      if (y > getHeight()) break;
      g.drawString(line, (getWidth() - metrics.stringWidth(line)) / 2, y);
      y += metrics.getHeight();
    }
  }
}
